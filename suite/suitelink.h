#pragma once

#include "messages.h"
#include "preferences.h"

#include <QString>
#include <QtGlobal>

namespace suite {

class MessageEndpoint;
class ProcessList;
class WindowMessages;

// The form's side of the suite's unsaved-changes protocol: the shared "MonitorChanges" setting,
// the notices to the Tutor Summary window, the question before closing, and the requests the
// other windows send. It holds no widget: what it needs of the window goes through Window.
class SuiteLink
{
public:
    // What the link asks of the window it serves.
    class Window
    {
    public:
        virtual ~Window() = default;
        // The exact title by which the suite's windows find this one.
        virtual QString suiteTitle() const = 0;
        virtual bool holdsTutorFile() const = 0;
        // Writes the values shown into the file; false when it failed and the monitor was told.
        virtual bool saveIntoFile() = 0;
        virtual void moveFocusToComments() = 0;
        // Save's menu item and button; they stay disabled without a file.
        virtual void enableSaveControls(bool enabled) = 0;
        // Shows the saved values again once the monitor has thrown the edits away.
        virtual void reloadSavedValues() = 0;
        virtual void discardUnsavedCopy() = 0;
        virtual void storePreferences() = 0;
        // Closes the window, which asks closeAccepted() first; false when it stays open.
        virtual bool closeWindow() = 0;
    };

    // Uses the pieces passed in for its whole life; it owns none of them.
    SuiteLink(Window &window, settings::SettingsStore &settings, const ProcessList &processes,
              monitorfile::MessagePresenter &messages, WindowMessages &windows,
              MessageEndpoint &endpoint);

    void MarkMonitorChanged();
    // The shared setting says some window holds unsaved changes; an unreadable one says so too.
    bool changesPending() const;
    monitorfile::MessageAnswer QuerySaveChanges();
    bool SaveChanges();
    // whichWindow: the asker of a save another window requested (1 Tutor Summary, 2 Student
    // Summary, else Zip).
    bool SaveMonitorForm(int whichWindow);
    void HookWindowProc();
    void UnhookWindowProc();
    void LocalWindowProc(quint32 message, qint64 wParam, qint64 lParam);

    // File > Close and File > Exit: the question, then the window closes and the program ends.
    void closeFromMenu(bool exitItem);
    // Whether a close of the window may go ahead, after the question where one is due.
    bool closeAccepted();

private:
    void NotifyChangesPending();
    void NotifyChangesCleared();
    void postToTutorSummary(quint32 message);
    void sendToTutorSummary(quint32 message);
    void clearChanges();
    bool saveBeforeClosing(bool exitItem);
    void letGo();

    Window &m_window;
    settings::Preferences m_preferences;
    const ProcessList &m_processes;
    monitorfile::MessagePresenter &m_messages;
    WindowMessages &m_windows;
    MessageEndpoint &m_endpoint;

    bool m_hooked = false;
    bool m_saveRequestedExternally = false;
    bool m_closingAnswered = false;
    // This form's own edits are unsaved: the shared setting may have been cleared meanwhile by
    // another window's save.
    bool m_unsavedEdits = false;
    // Told once per session rather than on every attempt.
    bool m_toldNotReceiving = false;
};

} // namespace suite
