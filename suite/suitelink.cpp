#include "suitelink.h"

#include "isprocessrunning.h"
#include "messageendpoint.h"
#include "messagetexts.h"
#include "spellingoptions.h"
#include "suitewindows.h"
#include "windowmessages.h"

#include <QCoreApplication>

using monitorfile::MessageAnswer;
using settings::Pref;

namespace suite {

namespace {

const QString kUnsavedQuestion =
    QStringLiteral("There are unsaved changes on one or more of the file handler windows.\r"
                   "Do you want to save these changes?");

} // namespace

SuiteLink::SuiteLink(Window &window, settings::SettingsStore &settings,
                     const ProcessList &processes, monitorfile::MessagePresenter &messages,
                     WindowMessages &windows, MessageEndpoint &endpoint)
    : m_window(window), m_preferences(settings), m_processes(processes), m_messages(messages),
      m_windows(windows), m_endpoint(endpoint)
{
}

void SuiteLink::MarkMonitorChanged()
{
    // Every keystroke comes here: the same text is not rewritten into the shared store.
    m_preferences.writeIfChanged(Pref::MonitorChanges, QStringLiteral("True"));
    m_unsavedEdits = m_window.holdsTutorFile();
    m_window.enableSaveControls(true);
    NotifyChangesPending();
}

void SuiteLink::NotifyChangesPending()
{
    postToTutorSummary(message::kChangesPending);
}

void SuiteLink::NotifyChangesCleared()
{
    postToTutorSummary(message::kChangesCleared);
}

void SuiteLink::postToTutorSummary(quint32 message)
{
    if (!IsProcessRunning(m_processes, QStringLiteral("MonitorForm")))
        return;
    m_windows.post(m_windows.findWindow(windowTitle(SuiteWindow::TutorSummary)), message, 1, 0);
}

void SuiteLink::sendToTutorSummary(quint32 message)
{
    // The suite's programs expect the address of a 32-bit zero.
    static const qint32 zero = 0;
    m_windows.send(m_windows.findWindow(windowTitle(SuiteWindow::TutorSummary)), message, 0,
                   qint64(reinterpret_cast<quintptr>(&zero)));
}

void SuiteLink::clearChanges()
{
    m_preferences.write(Pref::MonitorChanges, QStringLiteral("False"));
    m_unsavedEdits = false;
    m_window.enableSaveControls(false);
    NotifyChangesCleared();
}

bool SuiteLink::changesPending() const
{
    // No setting at all (a new machine, a cleaned profile) means nothing is unsaved.
    bool changes = true;
    settings::parseBooleanText(m_preferences.read(Pref::MonitorChanges, QStringLiteral("False")),
                               changes);
    return changes;
}

MessageAnswer SuiteLink::QuerySaveChanges()
{
    // The setting is the whole suite's: another window's save may have cleared it while this form
    // still holds edits of its own, which are not to be lost without a question.
    if (!changesPending() && !m_unsavedEdits) {
        clearChanges();
        return MessageAnswer::No;
    }
    const MessageAnswer answer =
        m_messages.show(kUnsavedQuestion, monitorfile::MessageButtons::YesNoCancel);
    // On Yes the save clears the unsaved state itself, and only once it has really succeeded.
    if (answer == MessageAnswer::No) {
        clearChanges();
        m_window.reloadSavedValues();
        m_window.discardUnsavedCopy();
    }
    return answer;
}

bool SuiteLink::SaveChanges()
{
    m_window.moveFocusToComments();
    m_saveRequestedExternally = false;
    return SaveMonitorForm(0);
}

bool SuiteLink::SaveMonitorForm(int whichWindow)
{
    if (!m_window.saveIntoFile()) {
        m_saveRequestedExternally = false;
        return false; // the monitor has been told; the changes stay unsaved
    }
    if (m_saveRequestedExternally) {
        m_saveRequestedExternally = false;
        const SuiteWindow asker = whichWindow == 1   ? SuiteWindow::TutorSummary
                                  : whichWindow == 2 ? SuiteWindow::StudentSummary
                                                     : SuiteWindow::Zip;
        m_windows.restoreAndRaise(m_windows.findWindow(windowTitle(asker)));
    } else {
        sendToTutorSummary(message::kSave);
    }
    clearChanges();
    m_window.discardUnsavedCopy();
    return true;
}

void SuiteLink::HookWindowProc()
{
    m_hooked = m_endpoint.open(m_window.suiteTitle(), [this](quint32 message, qint64 w, qint64 l) {
        LocalWindowProc(message, w, l);
    });
    // A form that cannot hear the suite's requests must not seem to. Another form holding the
    // title is the suite's own arrangement, as with two windows of one title on Windows.
    if (!m_hooked && !m_endpoint.heldElsewhere() && !m_toldNotReceiving) {
        m_toldNotReceiving = true;
        m_messages.show(monitorfile::texts::messagesNotReceived(m_endpoint.errorString()));
    }
}

void SuiteLink::UnhookWindowProc()
{
    if (m_hooked)
        m_endpoint.close();
    m_hooked = false;
}

void SuiteLink::LocalWindowProc(quint32 message, qint64 wParam, qint64 /*lParam*/)
{
    switch (message) {
    case suite::message::kSave:
        m_saveRequestedExternally = true;
        SaveMonitorForm(qint16(wParam));
        break;
    case suite::message::kClose:
        UnhookWindowProc();
        // A close the monitor cancels leaves the form answering the suite as before.
        if (!m_window.closeWindow())
            HookWindowProc();
        break;
    case suite::message::kChangesPending:
        m_window.enableSaveControls(true);
        break;
    case suite::message::kChangesCleared:
        m_window.enableSaveControls(false);
        break;
    default:
        break;
    }
}

void SuiteLink::closeFromMenu(bool exitItem)
{
    switch (QuerySaveChanges()) {
    case MessageAnswer::Yes:
        if (!saveBeforeClosing(exitItem))
            return; // the save failed and was reported: the work stays on screen
        // Without a file nothing was saved and the setting still says "True": do not ask twice.
        m_closingAnswered = !m_window.holdsTutorFile();
        break;
    case MessageAnswer::Cancel:
        return;
    default:
        sendToTutorSummary(message::kClosedUnsaved);
        break;
    }
    letGo();
    if (m_window.closeWindow())
        QCoreApplication::quit();
}

bool SuiteLink::saveBeforeClosing(bool exitItem)
{
    // A form opened without a file holds nothing to save; the changes the question was about
    // belong to the suite's other windows, which keep them.
    if (!m_window.holdsTutorFile())
        return true;
    // Exit saves without moving the focus or clearing a request from another window first.
    return exitItem ? SaveMonitorForm(0) : SaveChanges();
}

bool SuiteLink::closeAccepted()
{
    const bool ask = !m_closingAnswered;
    m_closingAnswered = false;
    switch (ask ? QuerySaveChanges() : MessageAnswer::No) {
    case MessageAnswer::Cancel:
        return false;
    case MessageAnswer::Yes:
        // A failed save was reported: the work stays on screen.
        if (!saveBeforeClosing(false))
            return false;
        break;
    default:
        break;
    }
    letGo();
    return true;
}

// The last steps of every close: the window's preferences kept, the suite's requests no longer
// answered.
void SuiteLink::letGo()
{
    m_window.storePreferences();
    UnhookWindowProc();
}

} // namespace suite
