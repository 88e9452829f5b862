// The Windows shell, through the Windows layer: the "open" operation for opening, the system's
// open-with entry for choosing.
#include "shell.h"

#include "win32shell.h"

#include <QDir>
#include <QWidget>

namespace {

std::uintptr_t ownerWindow(QWidget *owner)
{
    return owner ? static_cast<std::uintptr_t>(owner->window()->winId()) : 0;
}

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class WindowsShell : public Shell
{
public:
    // The shell's own boxes say what went wrong; the program adds nothing (see Shell).
    void openFile(const QString &path, QWidget *owner) override
    {
        winplatform::shellOpen(ownerWindow(owner), nativePath(path));
    }

    void openWith(const QString &path, QWidget *) override
    {
        winplatform::showOpenWith(nativePath(path));
    }
};

} // namespace

std::unique_ptr<Shell> createPlatformShell()
{
    return std::make_unique<WindowsShell>();
}
