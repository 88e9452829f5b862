#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

namespace {

// Runs the stand-in with the settings store in a folder of the test's own.
class FileHandlerStandinTest : public testing::Test
{
protected:
    void start(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        standin.setProcessEnvironment(environment);
        standin.start(QStringLiteral(STANDIN_PATH), arguments);
    }

    QByteArray settingsFile() const
    {
        QFile file(config.filePath(QStringLiteral("RERODODUREVIDEDAZIREZ.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir config;
    QTemporaryDir root;
    QProcess standin;
};

const QStringList kWords = {QStringLiteral("T\\1"), QStringLiteral("\"M101\""),
                            QStringLiteral("05B"), QStringLiteral("$02"), QStringLiteral("X")};

TEST_F(FileHandlerStandinTest, StartsTheFormWithTheWordsAndPassesOnItsExitCode)
{
    for (const QString &given : {root.path(), root.path() + QStringLiteral("/")}) {
        start(QStringList{QStringLiteral("--root"), given, QStringLiteral("--form"),
                          QStringLiteral(FORM_PROBE_PATH)} +
              kWords);
        ASSERT_TRUE(standin.waitForFinished(30000));
        EXPECT_EQ(standin.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(standin.exitCode(), 3);
        EXPECT_EQ(QString::fromUtf8(standin.readAllStandardOutput()),
                  kWords.join(u'\n') + QLatin1Char('\n'));
        EXPECT_TRUE(standin.readAllStandardError().contains("stand-in"));
        EXPECT_EQ(settingsFile(),
                  "[Prefs]\nquillet_monitor_root_directory=" + root.path().toUtf8() + "/\n");
    }
}

TEST_F(FileHandlerStandinTest, StopsTheFormBeforeItEnds)
{
    start(QStringList{QStringLiteral("--root"), root.path(), QStringLiteral("--form"),
                      QStringLiteral(LONG_NAME_PROBE_PATH)} +
          kWords);
    while (!standin.canReadLine())
        ASSERT_TRUE(standin.waitForReadyRead(10000));
    const pid_t formPid = standin.readLine().trimmed().toInt();
    ASSERT_GT(formPid, 0);

    standin.terminate();
    ASSERT_TRUE(standin.waitForFinished(10000));
    EXPECT_EQ(standin.exitCode(), 128 + SIGTERM);
    EXPECT_EQ(::kill(formPid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST_F(FileHandlerStandinTest, RefusesAMissingRootOrAWrongNumberOfWords)
{
    const QStringList cases[] = {
        kWords,
        {QStringLiteral("--root"), root.path(), QStringLiteral("T1"), QStringLiteral("M101")},
        QStringList{QStringLiteral("--root"), root.path(), QStringLiteral("A B")} + kWords.mid(1),
    };
    for (const QStringList &arguments : cases) {
        start(arguments);
        ASSERT_TRUE(standin.waitForFinished(30000));
        EXPECT_EQ(standin.exitCode(), 2) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(settingsFile(), "<missing>");
}

} // namespace
