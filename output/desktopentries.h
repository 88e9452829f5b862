#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The applications a Linux desktop registers in .desktop files under the applications/ folders
// of the XDG data folders, as far as choosing one to open a file needs them.
struct DesktopApplication
{
    QString id;       // the desktop file ID, e.g. "org.example.Writer.desktop"
    QString name;     // the name to show, in the user's language where the file has it
    QString exec;     // the Exec line, string escapes already undone
    QString icon;     // the Icon key, for %i
    QString filePath; // where the desktop file is, for %k
    QStringList mimeTypes;
};

// XDG_DATA_HOME (default ~/.local/share) followed by XDG_DATA_DIRS (default
// /usr/local/share:/usr/share), most important first.
QStringList xdgDataDirs();

// Reads one desktop file. Empty when it is no application that can open files: not of type
// Application, hidden, not to be shown, meant for a terminal, without an Exec line that splits
// cleanly, or with a TryExec program that is not installed. locale names the user's language
// ("en_GB") for the localised Name.
std::optional<DesktopApplication> parseDesktopEntry(const QByteArray &contents, const QString &id,
                                                    const QString &filePath, const QString &locale);

// The applications that declare one of mimeTypes (canonical names, most specific first), in
// that order of types, each application once. A desktop file ID found in an earlier data folder
// hides the same ID in later ones.
QList<DesktopApplication> applicationsForMimeTypes(const QStringList &mimeTypes,
                                                   const QStringList &dataDirs,
                                                   const QString &locale);

// Splits an Exec line into arguments by the desktop entry quoting rules. Empty when a quote is
// left open or the line holds no program.
std::optional<QStringList> splitExecLine(const QString &exec);

// The program and its arguments that open filePath (an absolute path) with app: %f and %F become
// the path, %u and %U its file URL, %c the name, %k the desktop file, %i "--icon" and the icon,
// %% a percent sign; other codes are dropped. Each argument stays one argument whatever the file
// name holds; no shell ever sees it. Without any file code the path is added at the end. Empty
// when the Exec line does not split or its program is a code.
std::optional<QStringList> commandForFile(const DesktopApplication &app, const QString &filePath);
