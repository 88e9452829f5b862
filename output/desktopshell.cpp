#include "desktopshell.h"

#include "desktopentries.h"
#include "portalopenwith.h"

#include <QDesktopServices>
#include <QLocale>
#include <QPointer>
#include <QUrl>
#include <QWidget>

DesktopShell::DesktopShell(ProgramLauncher launch, bool tryPortal)
    : m_launch(std::move(launch)), m_tryPortal(tryPortal)
{
}

void DesktopShell::openFile(const QString &path, QWidget *)
{
    // A file the desktop cannot open is the desktop's to report: its result is not ours to show.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopShell::openWith(const QString &path, QWidget *owner)
{
    if (!m_tryPortal) {
        showChooser(path, owner, m_launch);
        return;
    }
    // The portal may answer after the owner has gone.
    const QPointer<QWidget> guardedOwner(owner);
    openWithPortal(path, owner, [launch = m_launch, path, guardedOwner] {
        showChooser(path, guardedOwner, launch);
    });
}

void DesktopShell::showChooser(const QString &path, QWidget *owner, const ProgramLauncher &launch)
{
    const QList<DesktopApplication> applications =
        applicationsForMimeTypes(mimeTypesOfFile(path), xdgDataDirs(), QLocale().name());
    auto *dialog = new OpenWithDialog(path, applications, launch, owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Like the desktop's chooser, it blocks none of the program's windows.
    dialog->show();
}

std::unique_ptr<Shell> createPlatformShell()
{
    return std::make_unique<DesktopShell>();
}
