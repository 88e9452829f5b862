// The window's side of the suite's unsaved-changes protocol: what the suite link asks of it, and
// the ways of closing, which the link decides.
#include "monformentry.h"

#include "ansicodec.h"
#include "reload.h"

#include <QCloseEvent>
#include <QPlainTextEdit>

void MonFormEntry::MarkMonitorChanged()
{
    m_suiteLink.MarkMonitorChanged();
    m_recoveryKeeper.schedule();
}

void MonFormEntry::reloadSavedValues()
{
    monitorfile::ReloadMonitoringData(tutorFilePath(), m_tutorData, m_platform.files,
                                      m_platform.messages);
    // The ratings follow the model; the grids keep what they show.
    for (int i = 0; i < monitorfile::kFlagCount; ++i)
        m_flags[i] = monitorfile::decodeAnsi(m_tutorData.record.flags[i]);
}

void MonFormEntry::moveFocusToComments()
{
    m_commentsBox->setFocus();
}

void MonFormEntry::closeFromMenu()
{
    m_suiteLink.closeFromMenu(false);
}

void MonFormEntry::exitFromMenu()
{
    m_suiteLink.closeFromMenu(true);
}

void MonFormEntry::closeEvent(QCloseEvent *event)
{
    event->setAccepted(m_suiteLink.closeAccepted());
}
