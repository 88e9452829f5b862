// Starts the real MonitorForm through the stand-in file handler on a copy of the bundled sample,
// as the suite starts it, and reads back what the window showed.
#include "testfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
