#include "openwithdialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

ProgramLauncher detachedLauncher()
{
    return [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
}

QStringList mimeTypesOfFile(const QString &filePath)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(filePath);
    QStringList types{type.name()};
    types += type.allAncestors();
    return types;
}

OpenWithDialog::OpenWithDialog(const QString &filePath,
                               const QList<DesktopApplication> &applications,
                               ProgramLauncher launch, QWidget *parent)
    : QDialog(parent), m_filePath(filePath), m_entries(applications), m_launch(std::move(launch)),
      m_note(new QLabel(this)), m_applications(new QListWidget(this))
{
    setObjectName(QStringLiteral("OpenWithDialog"));
    setWindowTitle(tr("Open With"));

    // Said plainly, so the monitor knows why this is not the desktop's usual chooser.
    const QString name = QFileInfo(filePath).fileName();
    m_note->setWordWrap(true);
    m_note->setText(
        applications.isEmpty()
            ? tr("No program on this computer is registered for files like %1.").arg(name)
            : tr("The desktop's own chooser is not available. Choose the program to "
                 "open %1 with:")
                  .arg(name));

    for (const DesktopApplication &app : applications)
        m_applications->addItem(app.name);
    if (!applications.isEmpty())
        m_applications->setCurrentRow(0);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    m_open = buttons->button(QDialogButtonBox::Open);
    m_open->setEnabled(!applications.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &OpenWithDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OpenWithDialog::reject);
    connect(m_applications, &QListWidget::itemDoubleClicked, this, &OpenWithDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_note);
    layout->addWidget(m_applications);
    layout->addWidget(buttons);
}

QString OpenWithDialog::noteText() const
{
    return m_note->text();
}

void OpenWithDialog::accept()
{
    const int row = m_applications->currentRow();
    if (row < 0 || row >= m_entries.size())
        return;
    const DesktopApplication &app = m_entries.at(row);
    const std::optional<QStringList> command = commandForFile(app, m_filePath);
    if (command && m_launch(command->first(), command->mid(1))) {
        QDialog::accept();
        return;
    }
    m_note->setText(tr("%1 could not be started. Choose another program:").arg(app.name));
}
