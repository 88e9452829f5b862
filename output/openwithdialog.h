#pragma once

#include "desktopentries.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

// Starts a program with its arguments without waiting for it; false when it could not start.
using ProgramLauncher = std::function<bool(const QString &program, const QStringList &arguments)>;

// The launcher of the real desktop: a detached process, its arguments given one by one.
ProgramLauncher detachedLauncher();

// The file's MIME type followed by the types it derives from, most specific first.
QStringList mimeTypesOfFile(const QString &filePath);

// Our own open-with chooser, for desktops without a portal to ask: the applications registered
// for the file's type, one of which starts with the file on OK.
class OpenWithDialog : public QDialog
{
    Q_OBJECT

public:
    OpenWithDialog(const QString &filePath, const QList<DesktopApplication> &applications,
                   ProgramLauncher launch, QWidget *parent = nullptr);

    QListWidget *applicationList() const { return m_applications; }
    QPushButton *openButton() const { return m_open; }
    QString noteText() const;

    // Starts the chosen application; stays open with a note when it does not start.
    void accept() override;

private:
    QString m_filePath;
    QList<DesktopApplication> m_entries;
    ProgramLauncher m_launch;
    QLabel *m_note;
    QListWidget *m_applications;
    QPushButton *m_open;
};
