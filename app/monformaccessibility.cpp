// What a screen reader says of the form's controls, and the keyboard's way through them.
#include "monformentry.h"
#include "focusring.h"
#include "fontsizelist.h"

#include "monitorgrid.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>

void MonFormEntry::describeControls()
{
    m_studentGrid->setAccessibleName(QStringLiteral("Students"));
    m_studentGrid->setAccessibleDescription(
        QStringLiteral("One row per student: the grade of the tutor's marking and the ratings "
                       "of the summary/feedback and of the script comments"));
    for (int col = 1; col <= 3; ++col)
        m_studentGrid->setCellCaptions(col, 0, col);

    m_criteriaGrid->setAccessibleName(QStringLiteral("Criteria"));
    m_criteriaGrid->setAccessibleDescription(
        QStringLiteral("The fifteen monitoring criteria, each with its rating; please refer "
                       "to your Faculty monitoring guidelines"));
    // A rating is named by its criterion and its half's title.
    m_criteriaGrid->setCellCaptions(1, 0, 0);
    m_criteriaGrid->setCellCaptions(3, 2, 2);

    if (auto *label = findChild<QLabel *>(QStringLiteral("Label1")))
        label->setBuddy(m_fontSizeList);
    m_fontSizeList->setAccessibleName(QStringLiteral("Font Size"));
    m_fontSizeList->view()->setAccessibleName(m_fontSizeList->accessibleName());
    m_fontSizeList->setAccessibleDescription(
        QStringLiteral("The size of the text in the comments box"));
    m_commentsBox->setAccessibleName(QStringLiteral("Further comments & advice by Monitor"));
    m_commentsBox->setAccessibleDescription(
        QStringLiteral("The monitor's further comments and advice, saved with the form"));
    // Tab goes on to the next control, as from every other control, rather than trapping the
    // keyboard in the box.
    m_commentsBox->setTabChangesFocus(true);
    new FocusRing(this);

    m_toolbar->setAccessibleName(QStringLiteral("Toolbar"));
    // The buttons show images only; their text is what a screen reader names them by.
    for (QAction *button : m_toolbarButtons) {
        if (!button->isSeparator())
            button->setText(button->toolTip());
    }
    if (auto *more = m_toolbar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}
