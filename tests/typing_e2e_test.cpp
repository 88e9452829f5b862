// A monitor's keystrokes and menu choices reaching the real MonitorForm on an X display of its
// own (Xvfb, driven with xdotool), beside the stand-in file handler and Tutor Summary window.
#include "suitee2efixture.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <sys/types.h>

namespace {

const QString kMainTitle =
    QStringLiteral("Monitor Entry Form - Norvale Quillet Monitor File Handler");

class TypingEndToEnd : public DesktopEndToEnd
{
protected:
    void SetUp() override
    {
        SuiteEndToEnd::SetUp();
        startDesktop(false);
    }

    void TearDown() override
    {
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.terminate();
            m_bus.waitForFinished(10000);
        }
        DesktopEndToEnd::TearDown();
    }

    // A session bus of its own, on which the accessibility bus and its registry are started
    // before the form: the form's toolkit looks for them at start-up but never starts them.
    void startAccessibilityBus()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
            !QFile::exists(QStringLiteral("/usr/libexec/at-spi-bus-launcher")))
            GTEST_SKIP() << "needs dbus-daemon and at-spi2-core (scripts/install-packages.sh)";
        m_bus.setProcessEnvironment(m_env);
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        ASSERT_TRUE(m_bus.waitForStarted(10000));
        const QByteArray address = firstLineOf(m_bus);
        ASSERT_FALSE(address.isEmpty()) << "the session bus gave no address";
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QString::fromLatin1(address));
        m_env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        ASSERT_EQ(accessibleTree({}), QStringLiteral("\n"))
            << "the accessibility bus did not start";
    }

    // The form as a screen reader finds it (accessibilityprobe.py): "\n" before each object's
    // role, name, description, the labels naming it and "focused" or "", tab-separated.
    QString accessibleTree(const QStringList &program = {QStringLiteral("MonitorForm")})
    {
        QProcess probe;
        probe.setProcessEnvironment(m_env);
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(QStringLiteral(ACCESSIBILITY_PROBE), program);
        const bool ran = probe.waitForFinished(60000) &&
                         probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
        return ran ? u'\n' + QString::fromUtf8(probe.readAllStandardOutput())
                   : QStringLiteral("probe failed");
    }

    bool focusedIs(const QString &start)
    {
        const QStringList focused =
            accessibleTree().split(u'\n').filter(QRegularExpression(QStringLiteral("\tfocused$")));
        return (u'\n' + focused.join(u'\n')).contains(u'\n' + start);
    }

    bool keys(const QString &keys)
    {
        return xdotool(
            QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")} +
            keys.split(u' '));
    }

    // Clicks into the comments box and types at the end of its text.
    void typeIntoComments(const QString &text)
    {
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral("commentsBox=(\\d+) (\\d+) (\\d+) (\\d+)"))
                .match(waitForShownState());
        ASSERT_TRUE(box.hasMatch()) << "the form reported no comments box";
        const int x = box.captured(1).toInt() + box.captured(3).toInt() / 2;
        const int y = box.captured(2).toInt() + box.captured(4).toInt() / 2;
        ASSERT_TRUE(xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                             QStringLiteral("click"), QStringLiteral("1")}));
        ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+End")}));
        ASSERT_TRUE(xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text}));
    }

    // Opens the File menu from the keyboard and chooses the item with the given access key.
    void chooseFromFileMenu(const QString &accessKey)
    {
        ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("alt+f")}));
        QThread::msleep(300);
        ASSERT_TRUE(xdotool({QStringLiteral("key"), accessKey}));
    }

    bool waitForSetting(const QString &key, const QString &value)
    {
        const QDeadlineTimer deadline(kMessageBoundMilliseconds);
        while (setting(key) != value) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    QProcess m_bus;
};

// The same, with a screen reader's view of the form read from the accessibility bus.
class AccessibleEndToEnd : public TypingEndToEnd
{
protected:
    void SetUp() override
    {
        TypingEndToEnd::SetUp();
        if (!IsSkipped() && !HasFatalFailure())
            startAccessibilityBus();
    }
};

TEST_F(TypingEndToEnd, TypedCommentsMarkTheSuiteChangedAndSaveWithTheirMarkupCoded)
{
    startStandin();
    startForm();
    ASSERT_TRUE(standinLines().isEmpty()) << standinLines().join(u'\n').toStdString();

    typeIntoComments(QStringLiteral(" Zed <b> & c"));
    EXPECT_TRUE(waitForStandinLine(QStringLiteral("received 1076 1 0")))
        << standinLines().join(u'\n').toStdString();
    EXPECT_TRUE(waitForSetting(QStringLiteral("MonitorChanges"), QStringLiteral("True")));

    chooseFromFileMenu(QStringLiteral("s"));
    EXPECT_TRUE(waitForStandinLine(QStringLiteral("received 1077 1 0")))
        << standinLines().join(u'\n').toStdString();
    // The Tutor Summary hears of the save before it hears that the changes are cleared.
    const QStringList lines = standinLines();
    const qsizetype saved =
        lines.indexOf(QRegularExpression(QStringLiteral("^received 1074 0 \\d+$")));
    EXPECT_GE(saved, 0) << lines.join(u'\n').toStdString();
    EXPECT_LT(saved, lines.lastIndexOf(QStringLiteral("received 1077 1 0")));
    EXPECT_EQ(setting(QStringLiteral("MonitorChanges")), QStringLiteral("False"));

    // "<", ">" and "&" are stored as the codes 2, 3 and 18.
    EXPECT_TRUE(m_work.read(kMonitorFile)
                    .contains("(\x02 half of them). Zed \x02"
                              "b\x03 \x12 c"))
        << m_work.read(kMonitorFile).toStdString();
}

TEST_F(TypingEndToEnd, ClosingWithUnsavedChangesAnsweredNoLeavesTheFileUntouched)
{
    startStandin();
    startForm();
    ASSERT_FALSE(waitForShownState().isEmpty());
    // As the form left it after start-up, which may tidy the file's layout.
    const QByteArray before = m_work.read(kMonitorFile);

    typeIntoComments(QStringLiteral(" Not to be kept"));
    ASSERT_TRUE(waitForSetting(QStringLiteral("MonitorChanges"), QStringLiteral("True")));

    chooseFromFileMenu(QStringLiteral("c"));
    // The question has the application's title alone; the main window's is longer.
    ASSERT_TRUE(xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--name"), QStringLiteral("^Monitor Entry Form$")}));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("alt+n")}));

    EXPECT_TRUE(m_handler.waitForFinished(kMessageBoundMilliseconds)) << "the form did not end";
    EXPECT_EQ(m_work.read(kMonitorFile), before);
    EXPECT_EQ(setting(QStringLiteral("MonitorChanges")), QStringLiteral("False"));
    EXPECT_TRUE(waitForStandinLine(QStringLiteral("received 1077 1 0")));
    EXPECT_FALSE(
        standinLines().filter(QRegularExpression(QStringLiteral("^received 1078 "))).isEmpty())
        << standinLines().join(u'\n').toStdString();
    EXPECT_TRUE(
        standinLines().filter(QRegularExpression(QStringLiteral("^received 1074 "))).isEmpty())
        << standinLines().join(u'\n').toStdString();
}

TEST_F(TypingEndToEnd, WorkTypedBeforeTheProgramWasKilledComesBackOnTheNextStart)
{
    startStandin();
    startForm();
    typeIntoComments(QStringLiteral(" Typed before the crash"));
    // The form keeps unsaved work a moment after the last keystroke, in the user's data folder.
    const QDir recovery(m_work.path(QStringLiteral("data/RERODODUREVIDEDAZIREZ/recovery")));
    const QDeadlineTimer deadline(kMessageBoundMilliseconds);
    while (recovery.entryList({QStringLiteral("*.json")}, QDir::Files).isEmpty()) {
        ASSERT_FALSE(deadline.hasExpired()) << "no recovery copy was kept";
        QThread::msleep(100);
    }
    const QByteArray before = m_work.read(kMonitorFile);
    const QList<qint64> forms = liveChildrenOf(m_handler.processId());
    ASSERT_EQ(forms.size(), 1);
    ::kill(pid_t(forms.first()), SIGKILL);
    ASSERT_TRUE(m_handler.waitForFinished(kMessageBoundMilliseconds));
    EXPECT_EQ(m_work.read(kMonitorFile), before);

    QFile::remove(m_work.path(QStringLiteral("state.txt")));
    launchForm();
    // The offer comes before the window shows; its box has the application's title alone.
    ASSERT_TRUE(xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--name"), QStringLiteral("^Monitor Entry Form$")}));
    ASSERT_TRUE(xdotool({QStringLiteral("key"), QStringLiteral("alt+y")}));
    EXPECT_TRUE(waitForShownState().contains(QStringLiteral("Typed before the crash")))
        << waitForShownState().toStdString();
    EXPECT_TRUE(waitForSetting(QStringLiteral("MonitorChanges"), QStringLiteral("True")));
    EXPECT_EQ(m_work.read(kMonitorFile), before); // back on screen, not yet saved
}

TEST_F(AccessibleEndToEnd, EveryControlIsNamedOnTheAccessibilityBusAndHiddenIdentifiersAreNot)
{
    startStandin();
    startForm();
    const QStringList students =
        waitForShownState().split(u'\n').filter(QRegularExpression(QStringLiteral("^student=")));
    ASSERT_EQ(students.size(), 3);
    const QString tree = accessibleTree();
    SCOPED_TRACE(tree.toStdString());
    const QStringList first = students.first().mid(8).split(u'|');
    QStringList expected = {
        QStringLiteral("table\tStudents\tOne row per student"),
        QStringLiteral("table cell\t%1, Grade, %2\t").arg(first.at(0), first.at(1)),
        QStringLiteral("table\tCriteria\tThe fifteen monitoring criteria"),
        QStringLiteral("table cell\t1) Acknowledges good work, SUMMARY AND FEEDBACK (PT3), E\t"),
        QStringLiteral("table cell\t15) Course specific criteria, SCRIPT COMMENTS, I\t"),
        QStringLiteral(
            "combo box\tFont Size\tThe size of the text in the comments box\tFont Size:\t"),
        // Blank cells say where they stand.
        QStringLiteral("table cell\tBlank, SUMMARY AND FEEDBACK (PT3)\t"),
        QStringLiteral("text\tFurther comments & advice by Monitor\tThe monitor's"),
    };
    for (const char *button : {"Save", "Cut", "Copy", "Paste", "Print", "Spell Check",
                               "View Zip Window", "View Monitor Form Entry Window",
                               "View Monitor Comments File", "View Previous Monitor Form"})
        expected << QStringLiteral("push button\t%1\t%1\t").arg(QLatin1String(button));
    for (const QString &line : std::as_const(expected))
        EXPECT_TRUE(tree.contains(u'\n' + line)) << line.toStdString();
    // The personal identifiers' column and the row numbers are hidden: nobody reads them out.
    for (const QString &student : students)
        EXPECT_FALSE(tree.contains(student.section(u'|', -1)));
    EXPECT_FALSE(tree.contains(QStringLiteral("row header")));
    // Nothing that takes the focus is nameless.
    EXPECT_EQ(accessibleTree({QStringLiteral("--unnamed"), QStringLiteral("MonitorForm")}),
              QStringLiteral("\n"));
}

TEST_F(AccessibleEndToEnd, AKeyboardAloneGradesRatesCommentsSavesAndCloses)
{
    startStandin();
    startForm();
    ASSERT_FALSE(waitForShownState().isEmpty());
    // As a desktop's window manager does with a new window; Xvfb alone has none.
    ASSERT_TRUE(xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--name"), QStringLiteral("^") + kMainTitle,
                         QStringLiteral("windowfocus"), QStringLiteral("--sync")}));
    ASSERT_TRUE(focusedIs(QStringLiteral("table\tStudents"))) << accessibleTree().toStdString();

    // The third student's grade, chosen from its list by its first letter.
    ASSERT_TRUE(keys(QStringLiteral("ctrl+End Home Right")));
    EXPECT_TRUE(focusedIs(QStringLiteral("table cell\tAdeyemi, Grace, Grade")));
    ASSERT_TRUE(keys(QStringLiteral("s Return")));

    ASSERT_TRUE(keys(QStringLiteral("Tab")));
    EXPECT_TRUE(focusedIs(QStringLiteral("table\tCriteria")));
    EXPECT_TRUE(focusedIs(QStringLiteral("table cell\t1) Acknowledges good work, SUMMARY")));
    ASSERT_TRUE(keys(QStringLiteral("Down Down G")));
    EXPECT_TRUE(focusedIs(QStringLiteral(
        "text\t3) Provides encouragement and support, SUMMARY AND FEEDBACK (PT3)\t")));
    ASSERT_TRUE(keys(QStringLiteral("Return")));
    EXPECT_TRUE(focusedIs(
        QStringLiteral("table cell\t3) Provides encouragement and support, SUMMARY AND FEEDBACK "
                       "(PT3), G")));

    ASSERT_TRUE(keys(QStringLiteral("Tab")));
    EXPECT_TRUE(focusedIs(QStringLiteral("combo box\tFont Size\tThe size")));
    // Each size in turn from the keyboard, the focus staying in the list.
    ASSERT_TRUE(keys(QStringLiteral("Down Down")));
    EXPECT_TRUE(focusedIs(QStringLiteral("combo box\tFont Size\tThe size")));
    ASSERT_TRUE(keys(QStringLiteral("Tab")));
    EXPECT_TRUE(focusedIs(QStringLiteral("text\tFurther comments")));
    ASSERT_TRUE(keys(QStringLiteral("ctrl+End")));
    ASSERT_TRUE(xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                         QStringLiteral(" Typed alone")}));
    ASSERT_TRUE(keys(QStringLiteral("Tab")));
    EXPECT_TRUE(focusedIs(QStringLiteral("table\tStudents"))) << "Tab leaves the comments box";

    chooseFromFileMenu(QStringLiteral("s"));
    ASSERT_TRUE(waitForSetting(QStringLiteral("MonitorChanges"), QStringLiteral("False")));
    chooseFromFileMenu(QStringLiteral("c"));
    ASSERT_TRUE(m_handler.waitForFinished(kMessageBoundMilliseconds)) << "the form did not end";
    const QByteArray saved = m_work.read(kMonitorFile);
    EXPECT_EQ(setting(QStringLiteral("mon_form_entry_font_size")), QStringLiteral("Large"));
    EXPECT_TRUE(saved.contains("<flag3>G</flag3>")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("<marking>Severe</marking>")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("half of them). Typed alone</monitor_comments>"))
        << saved.toStdString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
