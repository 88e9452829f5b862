// Start-up of the monitoring form, step by step in the order the suite relies on.
#include "monformentry.h"
#include "firstpaint.h"
#include "fontsizelist.h"
#include "frameplacement.h"
#include "twips.h"
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

// A stored placement as a whole number of twips: its leading number, halves to even.
int placementValue(const QString &text)
{
    return monitorfile::wholeNumberValue(text.toLatin1());
}

} // namespace

const std::array<FontSize, 3> FontSizes = {{{8, "Small"}, {12, "Medium"}, {18, "Large"}}};

MonFormEntry::MonFormEntry(const MonitorPlatform &platform, QStringList arguments)
    : m_platform(platform), m_arguments(std::move(arguments)), m_preferences(platform.settings)
{
    buildControls();
    m_framePlacement = new FramePlacement(*this);
    // The native window exists from the start: its frame counts in the stored placement, and the
    // suite's programs look for it by its title.
    winId();
}

bool MonFormEntry::load()
{
    m_formLoaded = false;
    QRect placement = outerGeometryTwips();
    placement.setHeight(6500);
    setOuterGeometryTwips(placement);
    layOutGrids();
    if (!suite::IsProcessRunning(m_platform.processes, QStringLiteral("ZuruzovIrurEdar")))
        return false;
    if (!checkCommandLine())
        return false;
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    applySpellingOptions();
    applyPlacement();
    makeRoomForGrownText();

    m_fontSizeSetting = m_preferences.read(Pref::FontSize);
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
    m_monFlex2->setCellsCentred(0, 1, 9, 1);
    m_monFlex2->setCellsCentred(0, 3, 9, 3);
    // Tab into the criteria grid lands on the first rating; nothing shows selected before.
    m_monFlex2->setCurrentCell(1, 1);
    m_monFlex2->clearSelection();
    m_suiteLink.HookWindowProc();
    if (menuItem("mnuAlwaysOnTop")->isChecked())
        SetWindowTopMost(true);
    fillFontSizeList();
    m_fontListReady = true;
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

void MonFormEntry::applyPlacement()
{
    QRect placement = outerGeometryTwips();
    m_formTopText = m_preferences.read(Pref::FormTop);
    if (!m_formTopText.isEmpty())
        placement.moveTop(placementValue(m_formTopText));
    m_formLeftText = m_preferences.read(Pref::FormLeft);
    if (!m_formLeftText.isEmpty())
        placement.moveLeft(placementValue(m_formLeftText));
    m_formHeightText = m_preferences.read(Pref::FormHeight);
    if (!m_formHeightText.isEmpty())
        placement.setHeight(placementValue(m_formHeightText));
    m_formWidthText = m_preferences.read(Pref::FormWidth);
    if (!m_formWidthText.isEmpty())
        m_formWidthValue = placementValue(m_formWidthText);

    m_alwaysOnTopSetting = m_preferences.read(Pref::AlwaysOnTop);
    if (m_alwaysOnTopSetting.isEmpty())
        m_alwaysOnTopSetting = QStringLiteral("N");

    const bool normal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    if (normal && m_formWidthValue > 0)
        placement.setWidth(placementValue(m_formWidthText));
    keepOnAScreen(placement);
    setOuterGeometryTwips(placement);
}

// A place stored on a screen that is no longer there (a second monitor unplugged, a smaller
// remote desktop) or a damaged setting would leave the form out of sight: such a form starts at
// the main screen's top left corner instead. A form partly on a screen stays where it was.
void MonFormEntry::keepOnAScreen(QRect &placement) const
{
    const Twips twips(this);
    const QRect pixels(twips.toPixelsX(placement.left()), twips.toPixelsY(placement.top()),
                       twips.toPixelsX(placement.width()), twips.toPixelsY(placement.height()));
    // Enough of the title bar to take hold of the window.
    constexpr int kGrip = 40;
    const QRect titleBar(pixels.left(), pixels.top(), qMax(pixels.width(), 1), kGrip);
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool seen = std::any_of(screens.begin(), screens.end(), [&](const QScreen *screen) {
        const QRect overlap = screen->availableGeometry().intersected(titleBar);
        return overlap.width() >= kGrip && overlap.height() >= kGrip / 2;
    });
    if (!seen && !screens.isEmpty()) {
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        placement.moveTopLeft(QPoint(twips.fromPixelsX(corner.x()), twips.fromPixelsY(corner.y())));
    }
}

void MonFormEntry::fillFontSizeList()
{
    m_fontListReady = false;
    m_cmbFontSize->clear();
    // A stored size the list does not offer (typed in by an older version, or by hand) is the
    // default.
    size_t chosen = 0;
    for (size_t i = 0; i < FontSizes.size(); ++i) {
        m_cmbFontSize->addItem(QString::fromLatin1(FontSizes[i].name));
        if (m_fontSizeSetting == QLatin1String(FontSizes[i].name))
            chosen = i;
    }
    QFont font = m_txtMonitorComments->font();
    font.setPointSize(FontSizes[chosen].points);
    m_txtMonitorComments->setFont(font);
    m_cmbFontSize->setCurrentIndex(int(chosen));
    m_fontSizeSetting = m_currentFontSizeName = m_cmbFontSize->currentText();
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
    return m_framePlacement->frameGeometry();
}

QRect MonFormEntry::outerGeometryTwips() const
{
    const Twips twips(this);
    const QRect frame = outerFrame();
    return {twips.fromPixelsX(frame.x()), twips.fromPixelsY(frame.y()),
            twips.fromPixelsX(frame.width()), twips.fromPixelsY(frame.height())};
}

void MonFormEntry::setOuterGeometryTwips(const QRect &placement)
{
    // The frame (title bar and borders) is part of the stored size, as the suite stores it.
    const Twips twips(this);
    m_placementTwips = placement;
    m_framePlacement->place(
        twips.toPixels(placement.left(), placement.top(), placement.width(), placement.height()));
}

QRect MonFormEntry::placementToStore() const
{
    // Unmoved or unresized, the form keeps the very numbers it was placed by, which a whole
    // number of pixels may not give back.
    QRect placement = outerGeometryTwips();
    if (m_framePlacement->positionAsPlaced())
        placement.moveTopLeft(m_placementTwips.topLeft());
    if (m_framePlacement->sizeAsPlaced())
        placement.setSize(m_placementTwips.size());
    return placement;
}
