// Toolbar and menu commands, the font size list and the resize rule.
#include "monformentry.h"
#include "fontsizelist.h"
#include "twips.h"

#include "aboutwindow.h"
#include "ansicodec.h"
#include "monitorgrid.h"
#include "monitorsave.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QResizeEvent>

void MonFormEntry::tlbOptions_ButtonClick(int index)
{
    switch (index) {
    case 14:
        mnuViewPreviousMonitorFormsWindow_Click();
        break;
    case 13:
        mnuViewMonitorCommentsWindow_Click();
        break;
    case 1:
        SaveChanges();
        break;
    case 4:
        m_editCommands->copy();
        break;
    case 5:
        m_editCommands->paste();
        break;
    case 9:
        mnuSpellCheck_Click();
        break;
    case 3:
        m_editCommands->cut();
        break;
    case 7:
        mnuPrint_Click();
        break;
    default:
        break; // separators, and the buttons of windows this program does not open
    }
}

void MonFormEntry::cmbFontSize_Click()
{
    if (!m_fontListReady)
        return;
    const QString chosen = m_cmbFontSize->currentText();
    if (chosen == m_currentFontSizeName)
        return;
    FontSize size = FontSizes[0];
    for (const FontSize &candidate : FontSizes) {
        if (chosen == QLatin1String(candidate.name)) {
            size = candidate;
            break;
        }
    }
    QFont font = m_txtMonitorComments->font();
    font.setPointSize(size.points);
    m_txtMonitorComments->setFont(font);
    m_currentFontSizeName = QString::fromLatin1(size.name);
    // Up and Down go on through the sizes: a choice from the keyboard keeps the focus here.
    if (!m_cmbFontSize->chosenWithKeyboard())
        m_txtMonitorComments->setFocus();
}

void MonFormEntry::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyResizeRule();
}

// A window manager that frames the window moves it without resizing it, and only then is the
// outer size the rule works on known.
void MonFormEntry::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    applyResizeRule();
}

void MonFormEntry::applyResizeRule()
{
    if (!m_frame1)
        return;
    const Twips twips(this);
    const QRect outer = outerGeometryTwips();
    const int frameHeight = roundToWhole16(outer.height() - 10.0);
    const int boxHeight = qMax(0, roundToWhole16(outer.height() - 5800.0));
    m_txtMonitorComments->resize(twips.toPixelsX(outer.width() - 100),
                                 m_txtMonitorComments->height());
    m_frame1->resize(centralWidget()->width(), twips.toPixelsY(frameHeight));
    // The box gives up what the criteria grid grew by for a wider font.
    m_txtMonitorComments->resize(m_txtMonitorComments->width(),
                                 qMax(0, twips.toPixelsY(boxHeight) - m_textRoom.height()));
    keepEveryControlInReach();
}

// A window made small would cut the ratings off and leave the comments no room: it keeps the
// size at which every control shows, with three lines of comments.
void MonFormEntry::keepEveryControlInReach()
{
    constexpr int kEdgeTwips = 90;
    const Twips twips(this);
    int width = 0;
    for (const QWidget *control :
         {static_cast<QWidget *>(m_monFlex2), static_cast<QWidget *>(m_cmbFontSize)})
        width = qMax(width, control->mapTo(this, QPoint(control->width(), 0)).x());
    const int box = 3 * m_txtMonitorComments->fontMetrics().lineSpacing() +
                    2 * m_txtMonitorComments->frameWidth();
    // The resize rule works on the outer height, frame included.
    const int frame = outerFrame().height() - height();
    setMinimumSize(width + twips.toPixelsX(kEdgeTwips),
                   twips.toPixelsY(5800) + m_textRoom.height() + box - frame);
}

void MonFormEntry::mnuMaximise_Click()
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}

void MonFormEntry::ShowAboutBox()
{
    ::ShowAboutBox(this);
}

// Gathers what the form shows and writes it into the file; false when the save failed and the
// monitor was told why.
bool MonFormEntry::saveIntoFile()
{
    // A toolbar click does not take the focus, so a grid edit in progress is committed here.
    m_monFlex1->finishEditing();
    m_monFlex2->finishEditing();
    monitorfile::MonitorFormValues values = shownValues();
    values.commentDate = monitorfile::formatCommentDate(m_platform.clock.today());
    // What the monitor left as it was stays as another program may have saved it meanwhile.
    const monitorfile::MonitorFormValues asRead = monitorfile::formValuesOf(m_tutorData);
    const bool saved =
        monitorfile::SaveMonitorForm(tutorFilePath(), values, m_tutorData.NumberScriptsText,
                                     m_platform.files, m_platform.messages, &asRead);
    if (saved)
        monitorfile::keepSavedValues(m_tutorData, values);
    return saved;
}
