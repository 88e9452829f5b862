// Starts the real MonitorForm through the stand-in file handler on a copy of the bundled sample,
// as the suite starts it, and reads back what the window showed.
#include "suitee2efixture.h"
#include "testfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

namespace {

TEST(MonitorFormEndToEnd, OpensTheSampleThroughTheFileHandler)
{
    TestFolder work;
    work.copyTree(QStringLiteral(MONITOR_SAMPLE_DIR "/monitor-root"), QStringLiteral("root"));
    QDir().mkpath(work.path(QStringLiteral("config")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.path(QStringLiteral("config")));
    env.insert(QStringLiteral("MONITOR_FORM_STATE_FILE"), work.path(QStringLiteral("state.txt")));
    env.insert(QStringLiteral("MONITOR_FORM_QUIT_AFTER_REPORT"), QStringLiteral("1"));
    QProcess handler;
    handler.setProcessEnvironment(env);
    handler.start(QStringLiteral(FILEHANDLER_PATH),
                  {QStringLiteral("--root"), work.path(QStringLiteral("root")),
                   QStringLiteral("--form"), QStringLiteral(MONITORFORM_PATH),
                   QStringLiteral("00417263"), QStringLiteral("M101"), QStringLiteral("05B"),
                   QStringLiteral("03"), QStringLiteral("MON1")});
    ASSERT_TRUE(handler.waitForFinished(60000));
    EXPECT_EQ(handler.exitCode(), 0) << handler.readAllStandardError().toStdString();

    const QStringList shown =
        QString::fromUtf8(work.read(QStringLiteral("state.txt"))).split(QLatin1Char('\n'));
    EXPECT_TRUE(shown.contains(
        QStringLiteral("lbTutor=Tutor: 00417263  Okonkwo-Reilly, Margaret Ann (New)")));
    EXPECT_TRUE(
        shown.contains(QStringLiteral("lbCourseData=Course: M101-05B   TMA: 03   Level: 2")));
    EXPECT_EQ(shown.filter(QStringLiteral("student=")).size(), 3);
    // Start-up tidied the sample's laid-out student list, as the suite expects.
    EXPECT_TRUE(work.read(QStringLiteral("root/M101-05B/03/00417263/MON1/monitor.fhi"))
                    .contains("</student_details><student_details>"));
}

// The stored placement, with and without a window manager: under one the frame is known only
// after the window is mapped, which once made the placement creep on every run.
class PlacementEndToEnd : public DesktopEndToEnd, public testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SuiteEndToEnd::SetUp();
        startDesktop(GetParam());
        // Numbers that no whole number of pixels gives back.
        writeSettings("[Prefs]\nmonitoring_form_top=1234\nmonitoring_form_left=2000\n"
                      "monitoring_form_height=6706\nmonitoring_form_width=9601\n"
                      "MonitorChanges=False\n");
    }

    // Left, top, width and height as stored.
    std::vector<int> placement() const
    {
        std::vector<int> values;
        for (const char *key : {"left", "top", "width", "height"})
            values.push_back(
                setting(QStringLiteral("monitoring_form_") + QLatin1String(key)).toInt());
        return values;
    }

    // Opens the form, moves its window to (x, y) on the screen unless x is negative, closes it;
    // keeps the frame on the screen as it was just before closing.
    void openAndClose(int x = -1, int y = -1)
    {
        QFile::remove(m_work.path(QStringLiteral("state.txt")));
        launchForm();
        ASSERT_FALSE(waitForShownState().isEmpty()) << "the form never showed";
        if (x >= 0) {
            QThread::msleep(1000); // as a person would: the window manager has framed it by then
            ASSERT_TRUE(
                xdotool({QStringLiteral("search"), QStringLiteral("--name"),
                         QStringLiteral("^Monitor Entry Form - "), QStringLiteral("windowmove"),
                         QStringLiteral("--sync"), QString::number(x), QString::number(y)}));
        }
        m_frame = frameOnScreen();
        ASSERT_TRUE(closeFromFileMenu()) << "the form did not close";
    }

    // Within a pixel (15 twips) of the stored placement.
    bool storedWithin1Pixel(const QRect &frame) const
    {
        const std::vector<int> p = placement();
        const int f[4] = {frame.x(), frame.y(), frame.width(), frame.height()};
        return std::equal(p.begin(), p.end(), f,
                          [](int t, int px) { return qAbs(t - 15 * px) <= 15; });
    }

    QRect m_frame;
};

// Whatever the order of the window manager's events, from the first start on a new display on:
// the frame where the numbers put it, every control of the form shown, and the window framed
// where it belongs from the start rather than moved and drawn again once framed.
TEST_P(PlacementEndToEnd, EveryStartShowsTheWholeFormWhereItWasStored)
{
    for (int run = 1; run <= 5; ++run) {
        ASSERT_NO_FATAL_FAILURE(openAndClose());
        EXPECT_TRUE(storedWithin1Pixel(m_frame)) << "run " << run;
        const QString state = waitForShownState();
        EXPECT_TRUE(state.contains(QStringLiteral("\nframeCorrections=0\n"))) << "run " << run;
        const QStringList shown = state.split(u'\n').filter(QStringLiteral("visible."));
        EXPECT_EQ(shown.filter(QRegularExpression(QStringLiteral("=[1-9]\\d* [1-9]\\d*$"))).size(),
                  11)
            << "run " << run << ": " << shown.join(u' ').toStdString();
    }
}

TEST_P(PlacementEndToEnd, AnUnmovedFormStoresWhatItReadRunAfterRun)
{
    for (int run = 1; run <= 5; ++run) {
        ASSERT_NO_FATAL_FAILURE(openAndClose());
        ASSERT_EQ(placement(), std::vector<int>({2000, 1234, 9601, 6706})) << "run " << run;
    }
}

TEST_P(PlacementEndToEnd, AMovedFormStoresWhereItWasMovedTo)
{
    ASSERT_NO_FATAL_FAILURE(openAndClose(300, 200));
    const std::vector<int> moved = placement();
    // What is stored is the frame the monitor saw, size and all; the next start puts it back.
    EXPECT_TRUE(storedWithin1Pixel(m_frame));
    // 15 twips to the pixel; a window manager may put the client window where xdotool asked,
    // the frame's border and title bar above and left of it.
    EXPECT_NEAR(moved[0], 300 * 15, 30 * 15);
    EXPECT_NEAR(moved[1], 200 * 15, 30 * 15);
    EXPECT_EQ(moved[2], 9601);
    EXPECT_EQ(moved[3], 6706);
    ASSERT_NO_FATAL_FAILURE(openAndClose());
    EXPECT_EQ(placement(), moved);
    EXPECT_TRUE(storedWithin1Pixel(m_frame));
}

INSTANTIATE_TEST_SUITE_P(, PlacementEndToEnd, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return std::string(info.param ? "UnderOpenbox"
                                                           : "WithoutAWindowManager");
                         });

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
