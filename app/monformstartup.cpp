// Start-up of the monitoring form, step by step in the order the suite relies on.
#include "monformentry.h"
#include "firstpaint.h"
#include "formlayout.h"
#include "widgetmessages.h"

#include "fileoperations.h"
#include "isprocessrunning.h"
#include "messages.h"
#include "messagetexts.h"
#include "monitorgrid.h"
#include "settingsstore.h"
#include "suitepath.h"
#include "textvalues.h"
#include "tutorfilereader.h"
#include "tutorfileclaim.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

using settings::Pref;

namespace {

const QString kNotFromFileHandler =
    QStringLiteral("This application must be called from the Norvale Quillet Monitor File Handler");

} // namespace

MonFormEntry::MonFormEntry(const MonitorPlatform &platform, QStringList arguments)
    : m_platform(platform), m_arguments(std::move(arguments)), m_preferences(platform.settings)
{
    buildControls();
    m_layout = std::make_unique<FormLayout>(
        FormLayout::Controls{this, m_headerFrame, m_tutorLabel, m_courseLabel, m_regionLabel,
                             m_studentGrid, m_criteriaGrid, m_fontSizeList, m_commentsBox},
        m_preferences);
    // The native window exists from the start: its frame counts in the stored placement, and the
    // suite's programs look for it by its title.
    winId();
}

bool MonFormEntry::load()
{
    m_formLoaded = false;
    m_layout->layOutAsDesigned();
    if (!suite::IsProcessRunning(m_platform.processes, QStringLiteral("ZuruzovIrurEdar")))
        return false;
    if (!checkCommandLine())
        return false;
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    applySpellingOptions();
    m_layout->applyPlacement();
    m_alwaysOnTopSetting = m_preferences.read(Pref::AlwaysOnTop);
    if (m_alwaysOnTopSetting.isEmpty())
        m_alwaysOnTopSetting = QStringLiteral("N");
    m_layout->makeRoomForGrownText();

    m_layout->readFontSizeSetting();
    m_monitorRootDirectory = m_preferences.read(Pref::RootDirectory);
    m_tutorFolderPath = tutorFolderPath(m_monitorRootDirectory, m_words);
    if (!claimTutorFile())
        return false;
    // The tidied text is written once the form is on the screen: its flushes need not hold up
    // the window, and another program's write meanwhile still wins.
    monitorfile::ReadOptions tidyLater;
    tidyLater.rewriteNormalised = false;
    const monitorfile::ReadReport read = monitorfile::ReadTutorXMLFile(
        m_tutorFolderPath, QStringLiteral("\\monitor.fhi"), m_tutorData, m_platform.messages,
        m_platform.files, tidyLater);
    if (read.normalised && !read.malformed)
        afterFirstPaint(*this, [this, read] {
            // After what the first paint queued itself.
            QTimer::singleShot(0, this, [this, read] { writeTidiedFile(read); });
        });
    DisplayData();
    const bool recovered = m_recoveryKeeper.offerRecoveredWork();
    menuItem("mnuClose")->setEnabled(true);
    m_criteriaGrid->setCellsCentred(0, 1, 9, 1);
    m_criteriaGrid->setCellsCentred(0, 3, 9, 3);
    // Tab into the criteria grid lands on the first rating; nothing shows selected before.
    m_criteriaGrid->setCurrentCell(1, 1);
    m_criteriaGrid->clearSelection();
    m_suiteLink.HookWindowProc();
    if (menuItem("mnuAlwaysOnTop")->isChecked())
        SetWindowTopMost(true);
    m_layout->fillFontSizeList();
    m_formLoaded = true;
    if (recovered)
        MarkMonitorChanged(); // the entries brought back are unsaved changes
    underlineMisspellings();
    return true;
}

void MonFormEntry::writeTidiedFile(const monitorfile::ReadReport &read)
{
    monitorfile::WriteNormalisedText(
        monitorfile::suiteFilePath(m_tutorFolderPath, QStringLiteral("\\monitor.fhi")),
        read.readText, read.normalisedText, m_platform.files, m_platform.messages);
}

bool MonFormEntry::checkCommandLine()
{
    const QString line = commandLineText(m_arguments);
    if (line.isEmpty()) {
        m_platform.messages.show(kNotFromFileHandler);
        return false;
    }
    QString badWord;
    switch (takeCommandWords(GetCommandLine(line, 6), m_words, badWord)) {
    case CommandLineProblem::None:
        return true;
    case CommandLineProblem::Empty:
        m_platform.messages.show(kNotFromFileHandler);
        return false;
    case CommandLineProblem::UnsafeWord:
        m_platform.messages.show(
            QStringLiteral("The folder name \"%1\" on the command line is not allowed: it would "
                           "lead outside the monitoring folders. Nothing was opened.")
                .arg(badWord));
        return false;
    }
    return false;
}

// A second form on a file that a running form has open would overwrite that form's work (or
// have its own overwritten) and would even tidy the file under it: it brings the first forward
// instead and ends, and where the first cannot be reached it says so and ends. Checked before
// the file is read, since reading may rewrite it.
bool MonFormEntry::claimTutorFile()
{
    const QString path =
        monitorfile::suiteFilePath(m_tutorFolderPath, QStringLiteral("\\monitor.fhi"));
    switch (m_platform.fileClaim.claim(path, [this] { comeForward(); })) {
    case suite::TutorFileClaim::Outcome::Ours:
        return true;
    case suite::TutorFileClaim::Outcome::NotClaimed:
        m_platform.messages.show(
            monitorfile::texts::fileNotClaimed(m_platform.fileClaim.errorString()));
        return true;
    case suite::TutorFileClaim::Outcome::BroughtForward:
        return false;
    case suite::TutorFileClaim::Outcome::HeldElsewhere:
        m_platform.messages.show(monitorfile::texts::fileAlreadyOpen(path));
        return false;
    }
    return false;
}

void MonFormEntry::comeForward()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MonFormEntry::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        toolbarButton(12)->setEnabled(false);
    }
}

QRect MonFormEntry::outerFrame() const
{
    return m_layout->outerFrame();
}

int MonFormEntry::frameCorrections() const
{
    return m_layout->frameCorrections();
}
