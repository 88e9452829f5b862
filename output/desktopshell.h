#pragma once

#include "openwithdialog.h"
#include "shell.h"

// The shell of a freedesktop.org desktop. Open hands the file to the desktop's opener; Open
// With asks the desktop portal and, where there is none, shows our own chooser of the
// applications registered for the file's type.
class DesktopShell : public Shell
{
public:
    // tryPortal false goes straight to our own chooser; launch starts the chosen program.
    explicit DesktopShell(ProgramLauncher launch = detachedLauncher(), bool tryPortal = true);

    void openFile(const QString &path, QWidget *owner) override;
    void openWith(const QString &path, QWidget *owner) override;

    // Our own chooser over owner, modeless and not waited for; it discards itself once closed.
    static void showChooser(const QString &path, QWidget *owner, const ProgramLauncher &launch);

private:
    ProgramLauncher m_launch;
    bool m_tryPortal;
};
