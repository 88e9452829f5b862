// The suite's unsaved-changes protocol: the shared setting, the Save controls, the notices to the
// Tutor Summary window, the question before closing, and the messages the other windows send.
#include "monformentry.h"

#include "ansicodec.h"
#include "isprocessrunning.h"
#include "messageendpoint.h"
#include "messages.h"
#include "messagetexts.h"
#include "monitorgrid.h"
#include "reload.h"
#include "suitewindows.h"
#include "windowmessages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPlainTextEdit>

using monitorfile::MessageAnswer;
using settings::Pref;
using suite::SuiteWindow;

namespace {

const QString kUnsavedQuestion =
    QStringLiteral("There are unsaved changes on one or more of the file handler windows.\r"
                   "Do you want to save these changes?");

} // namespace

void MonFormEntry::MarkMonitorChanged()
{
    // Every keystroke comes here: the same text is not rewritten into the shared store.
    m_preferences.writeIfChanged(Pref::MonitorChanges, QStringLiteral("True"));
    m_unsavedEdits = m_tutorData.fileFound;
    toolbarButton(1)->setEnabled(m_tutorData.fileFound);
    menuItem("mnuSave")->setEnabled(m_tutorData.fileFound);
    NotifyChangesPending();
    m_recoveryKeeper.schedule();
}

void MonFormEntry::NotifyChangesPending()
{
    postToTutorSummary(suite::message::kChangesPending);
}

void MonFormEntry::NotifyChangesCleared()
{
    postToTutorSummary(suite::message::kChangesCleared);
}

void MonFormEntry::postToTutorSummary(quint32 message)
{
    if (!suite::IsProcessRunning(m_platform.processes, QStringLiteral("MonitorForm")))
        return;
    suite::WindowMessages &windows = m_platform.windowMessages;
    windows.post(windows.findWindow(suite::windowTitle(SuiteWindow::TutorSummary)), message, 1, 0);
}

void MonFormEntry::sendToTutorSummary(quint32 message)
{
    // The suite's programs expect the address of a 32-bit zero.
    static const qint32 zero = 0;
    suite::WindowMessages &windows = m_platform.windowMessages;
    windows.send(windows.findWindow(suite::windowTitle(SuiteWindow::TutorSummary)), message, 0,
                 qint64(reinterpret_cast<quintptr>(&zero)));
}

void MonFormEntry::clearChanges()
{
    m_preferences.write(Pref::MonitorChanges, QStringLiteral("False"));
    m_unsavedEdits = false;
    setSaveControlsEnabled(false);
    NotifyChangesCleared();
}

MessageAnswer MonFormEntry::QuerySaveChanges()
{
    // No setting at all (a new machine, a cleaned profile) means nothing is unsaved, as for
    // printing; an unreadable one is asked about.
    bool changes = true;
    settings::parseBooleanText(m_preferences.read(Pref::MonitorChanges, QStringLiteral("False")),
                               changes);
    // The setting is the whole suite's: another window's save may have cleared it while this form
    // still holds edits of its own, which are not to be lost without a question.
    if (!changes && !m_unsavedEdits) {
        clearChanges();
        return MessageAnswer::No;
    }
    const MessageAnswer answer =
        m_platform.messages.show(kUnsavedQuestion, monitorfile::MessageButtons::YesNoCancel);
    // On Yes the save clears the unsaved state itself, and only once it has really succeeded.
    if (answer == MessageAnswer::No) {
        clearChanges();
        reloadSavedValues();
        m_recoveryKeeper.discard();
    }
    return answer;
}

void MonFormEntry::reloadSavedValues()
{
    monitorfile::ReloadMonitoringData(tutorFilePath(), m_tutorData, m_platform.files,
                                      m_platform.messages);
    // The ratings follow the model; the grids keep what they show.
    for (int i = 0; i < monitorfile::kFlagCount; ++i)
        m_flags[i] = monitorfile::decodeAnsi(m_tutorData.record.flags[i]);
}

bool MonFormEntry::SaveChanges()
{
    m_txtMonitorComments->setFocus();
    m_saveRequestedExternally = false;
    return SaveMonitorForm(0);
}

bool MonFormEntry::SaveMonitorForm(int whichWindow)
{
    if (!saveIntoFile()) {
        m_saveRequestedExternally = false;
        return false; // the monitor has been told; the changes stay unsaved
    }
    suite::WindowMessages &windows = m_platform.windowMessages;
    if (m_saveRequestedExternally) {
        m_saveRequestedExternally = false;
        const SuiteWindow asker = whichWindow == 1   ? SuiteWindow::TutorSummary
                                  : whichWindow == 2 ? SuiteWindow::StudentSummary
                                                     : SuiteWindow::Zip;
        windows.restoreAndRaise(windows.findWindow(suite::windowTitle(asker)));
    } else {
        sendToTutorSummary(suite::message::kSave);
    }
    clearChanges();
    m_recoveryKeeper.discard();
    return true;
}

void MonFormEntry::HookWindowProc()
{
    m_hooked = m_platform.endpoint.open(windowTitle(), [this](quint32 message, qint64 w, qint64 l) {
        LocalWindowProc(message, w, l);
    });
    // A form that cannot hear the suite's requests must not seem to. Another form holding the
    // title is the suite's own arrangement, as with two windows of one title on Windows.
    if (!m_hooked && !m_platform.endpoint.heldElsewhere() && !m_toldNotReceiving) {
        m_toldNotReceiving = true;
        m_platform.messages.show(
            monitorfile::texts::messagesNotReceived(m_platform.endpoint.errorString()));
    }
}

void MonFormEntry::UnhookWindowProc()
{
    if (m_hooked)
        m_platform.endpoint.close();
    m_hooked = false;
}

void MonFormEntry::LocalWindowProc(quint32 message, qint64 wParam, qint64 /*lParam*/)
{
    switch (message) {
    case suite::message::kSave:
        m_saveRequestedExternally = true;
        SaveMonitorForm(qint16(wParam));
        break;
    case suite::message::kClose:
        UnhookWindowProc();
        // A close the monitor cancels leaves the form answering the suite as before.
        if (!close())
            HookWindowProc();
        break;
    case suite::message::kChangesPending:
        menuItem("mnuSave")->setEnabled(m_tutorData.fileFound);
        toolbarButton(1)->setEnabled(m_tutorData.fileFound);
        break;
    case suite::message::kChangesCleared:
        menuItem("mnuSave")->setEnabled(false);
        toolbarButton(1)->setEnabled(false);
        break;
    default:
        break;
    }
}

void MonFormEntry::mnuClose_Click()
{
    closeFromMenu(false);
}

void MonFormEntry::mnuExit_Click()
{
    closeFromMenu(true);
}

void MonFormEntry::closeFromMenu(bool exitItem)
{
    switch (QuerySaveChanges()) {
    case MessageAnswer::Yes:
        if (!saveBeforeClosing(exitItem))
            return; // the save failed and was reported: the work stays on screen
        // Without a file nothing was saved and the setting still says "True": do not ask twice.
        m_closingAnswered = !m_tutorData.fileFound;
        break;
    case MessageAnswer::Cancel:
        return;
    default:
        sendToTutorSummary(suite::message::kClosedUnsaved);
        break;
    }
    SavePreferences();
    UnhookWindowProc();
    if (close())
        QApplication::quit();
}

bool MonFormEntry::saveBeforeClosing(bool exitItem)
{
    // A form opened without a file holds nothing to save; the changes the question was about
    // belong to the suite's other windows, which keep them.
    if (!m_tutorData.fileFound)
        return true;
    // Exit saves without moving the focus or clearing a request from another window first.
    return exitItem ? SaveMonitorForm(0) : SaveChanges();
}

void MonFormEntry::closeEvent(QCloseEvent *event)
{
    const bool ask = !m_closingAnswered;
    m_closingAnswered = false;
    switch (ask ? QuerySaveChanges() : MessageAnswer::No) {
    case MessageAnswer::Cancel:
        event->ignore();
        return;
    case MessageAnswer::Yes:
        if (!saveBeforeClosing(false)) {
            event->ignore(); // the save failed and was reported: the work stays on screen
            return;
        }
        break;
    default:
        break;
    }
    SavePreferences();
    UnhookWindowProc();
    event->accept();
}
