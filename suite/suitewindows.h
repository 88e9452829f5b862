#pragma once

#include <QString>
#include <QtGlobal>

namespace suite {

// The private messages between the suite's programs, WM_USER (1024) + 50 to 54, each with two
// integers, wParam and lParam.
namespace message {
constexpr quint32 kSave = 1074;           // received: save now; sent: we have saved
constexpr quint32 kClose = 1075;          // received: close this window
constexpr quint32 kChangesPending = 1076; // unsaved changes exist
constexpr quint32 kChangesCleared = 1077; // the changes were saved or discarded
constexpr quint32 kClosedUnsaved = 1078;  // sent: closing without saving
} // namespace message

// The suite's windows that exchange messages with the form.
enum class SuiteWindow { TutorSummary, StudentSummary, Zip, MonitorForm };

// The exact top-level title by which the window is found, blanks included.
QString windowTitle(SuiteWindow window);

} // namespace suite
