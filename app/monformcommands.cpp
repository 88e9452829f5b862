// Toolbar and menu commands, and the window's resize and move passed on to its layout.
#include "monformentry.h"
#include "formlayout.h"

#include "aboutwindow.h"
#include "ansicodec.h"
#include "monitorgrid.h"
#include "monitorsave.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QResizeEvent>

void MonFormEntry::clickToolbarButton(int index)
{
    switch (index) {
    case 14:
        showPreviousMonitorForms();
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
        checkSpelling();
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

void MonFormEntry::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_layout)
        m_layout->applyResizeRule();
}

// A window manager that frames the window moves it without resizing it, and only then is the
// outer size the rule works on known.
void MonFormEntry::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    if (m_layout)
        m_layout->applyResizeRule();
}

void MonFormEntry::maximise()
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
    m_studentGrid->finishEditing();
    m_criteriaGrid->finishEditing();
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
