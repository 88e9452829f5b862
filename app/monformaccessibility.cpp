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
    m_monFlex1->setAccessibleName(QStringLiteral("Students"));
    m_monFlex1->setAccessibleDescription(
        QStringLiteral("One row per student: the grade of the tutor's marking and the ratings "
                       "of the summary/feedback and of the script comments"));
    for (int col = 1; col <= 3; ++col)
        m_monFlex1->setCellCaptions(col, 0, col);

    m_monFlex2->setAccessibleName(QStringLiteral("Criteria"));
    m_monFlex2->setAccessibleDescription(
        QStringLiteral("The fifteen monitoring criteria, each with its rating; please refer "
                       "to your Faculty monitoring guidelines"));
    // A rating is named by its criterion and its half's title.
    m_monFlex2->setCellCaptions(1, 0, 0);
    m_monFlex2->setCellCaptions(3, 2, 2);

    if (auto *label = findChild<QLabel *>(QStringLiteral("Label1")))
        label->setBuddy(m_cmbFontSize);
    m_cmbFontSize->setAccessibleName(QStringLiteral("Font Size"));
    m_cmbFontSize->view()->setAccessibleName(m_cmbFontSize->accessibleName());
    m_cmbFontSize->setAccessibleDescription(
        QStringLiteral("The size of the text in the comments box"));
    m_txtMonitorComments->setAccessibleName(QStringLiteral("Further comments & advice by Monitor"));
    m_txtMonitorComments->setAccessibleDescription(
        QStringLiteral("The monitor's further comments and advice, saved with the form"));
    // Tab goes on to the next control, as from every other control, rather than trapping the
    // keyboard in the box.
    m_txtMonitorComments->setTabChangesFocus(true);
    new FocusRing(this);

    m_tlbOptions->setAccessibleName(QStringLiteral("Toolbar"));
    // The buttons show images only; their text is what a screen reader names them by.
    for (QAction *button : m_buttons) {
        if (!button->isSeparator())
            button->setText(button->toolTip());
    }
    if (auto *more =
            m_tlbOptions->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
}
