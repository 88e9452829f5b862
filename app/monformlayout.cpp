// The monitoring form's controls, menus and toolbar as designed (geometry in twips).
#include "monformentry.h"
#include "fontsizelist.h"
#include "toolbarimages.h"
#include "twips.h"

#include "monitorgrid.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QToolBar>

namespace {

const QString kCaption =
    QStringLiteral("Monitor Entry Form - Norvale Quillet Monitor File Handler");

struct ToolbarButton
{
    const char *key;
    const char *tooltip; // null for a separator
    int image;
};

constexpr ToolbarButton kToolbarButtons[14] = {
    {"Save", "Save", 6},
    {"Preferences", nullptr, 0},
    {"", "Cut", 3},
    {"Copy", "Copy", 5},
    {"", "Paste", 4},
    {"", nullptr, 0},
    {"", "Print", 2},
    {"", nullptr, 0},
    {"", "Spell Check", 7},
    {"", nullptr, 0},
    {"", "View Zip Window", 1},
    {"", "View Monitor Form Entry Window", 8},
    {"PrevM", "View Monitor Comments File", 9},
    {"MComm", "View Previous Monitor Form", 10},
};

template <typename W>
W *place(W *widget, const char *name, const Twips &twips, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twips.toPixels(left, top, width, height));
    return widget;
}

QFrame *captionlessFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

} // namespace

void MonFormEntry::buildControls()
{
    setObjectName(QStringLiteral("MonFormEntry"));
    setFont(designFont());
    setWindowTitle(kCaption);
    const Twips twips(this);
    resize(twips.toPixelsX(10035), twips.toPixelsY(7530));

    auto *central = new QWidget(this);
    setCentralWidget(central);
    m_headerFrame = place(captionlessFrame(central), "Frame1", twips, 0, 0, 9945, 7095);
    auto *frame2 = place(captionlessFrame(m_headerFrame), "Frame2", twips, 30, 0, 9165, 465);
    place(captionlessFrame(frame2), "Frame3", twips, -60, 0, 9255, 105);
    m_tutorLabel = place(new QLabel(frame2), "lbTutor", twips, 30, 150, 3900, 195);
    m_courseLabel = place(new QLabel(frame2), "lbCourseData", twips, 4020, 150, 3585, 225);
    m_regionLabel = place(new QLabel(frame2), "lbRegion", twips, 7605, 150, 1425, 255);

    m_studentGrid = place(new MonitorGrid(m_headerFrame), "MonFlex1", twips, 30, 480, 9165, 1035);
    place(new QLabel(QStringLiteral("Please refer to your Faculty monitoring guidelines:"),
                     m_headerFrame),
          "Label24", twips, 30, 1530, 3675, 345);
    m_criteriaGrid = place(new MonitorGrid(m_headerFrame), "MonFlex2", twips, 30, 1800, 9165, 2483);
    // The designer's "&&" shows a single "&".
    place(new QLabel(QStringLiteral("Further comments & advice by Monitor:"), m_headerFrame),
          "Label18", twips, 30, 4350, 3585, 255);
    place(new QLabel(QStringLiteral("Font Size:"), m_headerFrame), "Label1", twips, 6960, 4350, 975,
          255);
    m_fontSizeList =
        place(new FontSizeList(m_headerFrame), "cmbFontSize", twips, 7980, 4320, 1215, 315);
    m_commentsBox =
        place(new QPlainTextEdit(m_headerFrame), "TxtMonitorComments", twips, 30, 4680, 9165, 877);
    m_commentsBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const QFont gridFont = designFont();
    m_studentGrid->setGridFont(gridFont);
    m_criteriaGrid->setGridFont(gridFont);

    setTabOrder(m_studentGrid, m_criteriaGrid);
    setTabOrder(m_criteriaGrid, m_fontSizeList);
    setTabOrder(m_fontSizeList, m_commentsBox);

    connectGrids();
    connectCommentsBox();

    buildToolbar();
    buildMenus();
    connectEditCommands();
    describeControls();
}

void MonFormEntry::buildToolbar()
{
    const Twips twips(this);
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("tlbOptions"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setFixedHeight(twips.toPixelsY(360));
    m_toolbar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    for (int i = 0; i < 14; ++i) {
        const ToolbarButton &b = kToolbarButtons[i];
        QAction *action = b.tooltip ? m_toolbar->addAction(toolbarImage(b.image), QString())
                                    : m_toolbar->addSeparator();
        action->setObjectName(QStringLiteral("tlbOptions_%1").arg(i + 1));
        action->setData(QString::fromLatin1(b.key));
        if (b.tooltip)
            action->setToolTip(QString::fromLatin1(b.tooltip));
        const int index = i + 1;
        connect(action, &QAction::triggered, this, [this, index] { clickToolbarButton(index); });
        m_toolbarButtons[i] = action;
    }
}

QAction *MonFormEntry::addMenuItem(QMenu *menu, const char *name, const QString &caption,
                                   void (MonFormEntry::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

void MonFormEntry::buildMenus()
{
    auto menu = [this](const char *name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    auto off = [](QAction *a) { a->setEnabled(false); };

    QMenu *file = menu("mnuFile", QStringLiteral("&File"));
    addMenuItem(file, "mnuOpen", QStringLiteral("&Open"));
    addMenuItem(file, "mnuClose", QStringLiteral("&Close"), &MonFormEntry::closeFromMenu);
    off(addMenuItem(file, "mnuSave", QStringLiteral("&Save"), &MonFormEntry::save));
    addMenuItem(file, "mnuPrint", QStringLiteral("&Print"), &MonFormEntry::mnuPrint_Click)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    addMenuItem(file, "mnuExit", QStringLiteral("E&xit"), &MonFormEntry::exitFromMenu);

    QMenu *edit = menu("mnuEdit", QStringLiteral("&Edit"));
    QAction *cut = addMenuItem(edit, "mnuCut", QStringLiteral("Cu&t"));
    cut->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
    off(cut);
    addMenuItem(edit, "mnuCopy", QStringLiteral("&Copy"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+C")));
    QAction *paste = addMenuItem(edit, "mnuPaste", QStringLiteral("&Paste"));
    paste->setShortcut(QKeySequence(QStringLiteral("Ctrl+V")));
    off(paste);

    QMenu *view = menu("mnuView", QStringLiteral("&View"));
    off(addMenuItem(view, "mnuViewTutorWindow", QStringLiteral("&Tutor Summary Window")));
    off(addMenuItem(view, "mnuViewStudentWindow", QStringLiteral("&Student Summary Window")));
    off(addMenuItem(view, "mnuViewMonitorFormWindow", QStringLiteral("&Monitor Form Window")));
    off(addMenuItem(view, "mnuViewZipWindow", QStringLiteral("&Zip Window")));
    addMenuItem(view, "mnuViewPreviousMonitorFormsWindow",
                QStringLiteral("&Previous Monitor Forms"), &MonFormEntry::showPreviousMonitorForms);
    addMenuItem(view, "mnuViewMonitorCommentsWindow", QStringLiteral("Monitor &Comments"),
                &MonFormEntry::mnuViewMonitorCommentsWindow_Click);

    QMenu *tools = menu("mnuTools", QStringLiteral("&Tools"));
    addMenuItem(tools, "mnuSort", QStringLiteral("So&rt"));
    off(addMenuItem(tools, "mnuSpellCheck", QStringLiteral("Spell &Check"),
                    &MonFormEntry::checkSpelling));

    QMenu *options = menu("mnuOptions", QStringLiteral("&Options"));
    addMenuItem(options, "mnuAlwaysOnTop", QStringLiteral("&Always On Top"),
                &MonFormEntry::mnuAlwaysOnTop_Click)
        ->setCheckable(true);
    addMenuItem(options, "mnuRestoreSettings", QStringLiteral("Restore System &Defaults "),
                &MonFormEntry::mnuRestoreSettings_Click);
    off(addMenuItem(options, "mnuSelectNewMonitorForm",
                    QStringLiteral("Select New &Monitor Form")));
    QAction *maximise = addMenuItem(options, "mnuMaximise", QStringLiteral("Maximise Window"),
                                    &MonFormEntry::maximise);
    maximise->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    maximise->setVisible(false);
    // A hidden menu item's shortcut is inactive; the window keeps Ctrl+M working on its own.
    connect(new QShortcut(maximise->shortcut(), this), &QShortcut::activated, this,
            &MonFormEntry::maximise);

    QMenu *help = menu("mnuHelp", QStringLiteral("&Help"));
    addMenuItem(help, "mnuAbout", QStringLiteral("&About"), &MonFormEntry::ShowAboutBox);
}

QAction *MonFormEntry::menuItem(const char *name) const
{
    return findChild<QAction *>(QLatin1String(name));
}

QAction *MonFormEntry::toolbarButton(int index) const
{
    return index >= 1 && index <= 14 ? m_toolbarButtons[index - 1] : nullptr;
}
