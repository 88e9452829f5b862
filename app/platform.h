#pragma once

#include <QDate>

namespace monitorfile {
class FileOperations;
class MessagePresenter;
} // namespace monitorfile
namespace settings {
class SettingsStore;
}
namespace suite {
class MessageEndpoint;
class ProcessList;
class TutorFileClaim;
class WindowMessages;
} // namespace suite
class TextPrinter;
class Shell;
namespace spelling {
class SpellingComponent;
}

// Today's date, for the comment date a save writes.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};

// Everything outside the window that it talks to. The window does not own these.
struct MonitorPlatform
{
    settings::SettingsStore &settings;
    const suite::ProcessList &processes;
    monitorfile::MessagePresenter &messages;
    monitorfile::FileOperations &files;
    const Clock &clock;
    suite::WindowMessages &windowMessages; // to the suite's other windows
    suite::MessageEndpoint &endpoint;      // where their messages to this window arrive
    TextPrinter &printer;                  // the default printer and its dialog
    Shell &shell;                          // opens documents in other programs
    spelling::SpellingComponent &spelling; // checks the comments box
    suite::TutorFileClaim &fileClaim;      // one form per tutor monitoring file
};
