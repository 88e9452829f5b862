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
class ProcessList;
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

// The window's own procedure for the suite's private messages: installed once the data is
// shown, removed when the window goes.
class WindowHook
{
public:
    virtual ~WindowHook() = default;
    virtual void hook() = 0;
    virtual void unhook() = 0;
};

// Until the suite's messages are handled, installing the window procedure changes nothing.
class PassiveWindowHook : public WindowHook
{
public:
    void hook() override {}
    void unhook() override {}
};

// Everything outside the window that it talks to. The window does not own these.
struct MonitorPlatform
{
    settings::SettingsStore &settings;
    const suite::ProcessList &processes;
    monitorfile::MessagePresenter &messages;
    monitorfile::FileOperations &files;
    const Clock &clock;
    WindowHook &windowHook;
};
