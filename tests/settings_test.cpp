#include "inisettingsstore.h"
#include "preferences.h"
#include "testfolder.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

using namespace settings;

namespace {

const QString kApp = QStringLiteral("RERODODUREVIDEDAZIREZ");
const QString kPrefs = QStringLiteral("Prefs");

class IniSettingsStoreTest : public testing::Test
{
protected:
    QString ini() const { return folder.read(kApp + QStringLiteral(".ini")); }

    TestFolder folder;
    IniSettingsStore store{folder.path()};
};

TEST_F(IniSettingsStoreTest, WritesPlainLinesOthersCanRead)
{
    store.setValue(kApp, kPrefs, QStringLiteral("quillet_monitor_root_directory"),
                   QStringLiteral("/home/mon/root/"));
    store.setValue(kApp, kPrefs, QStringLiteral("MonitorChanges"), QStringLiteral("True"));
    store.setValue(kApp, kPrefs, QStringLiteral("note"), QStringLiteral("@at\\tab;x=y"));
    EXPECT_EQ(ini(), "[Prefs]\nquillet_monitor_root_directory=/home/mon/root/\n"
                     "MonitorChanges=True\nnote=@at\\tab;x=y\n");
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("note"), {}),
              QStringLiteral("@at\\tab;x=y"));
}

TEST_F(IniSettingsStoreTest, ReadsWhatAScriptWrote)
{
    folder.write(kApp + QStringLiteral(".ini"),
                 "# by hand\r\n[Other]\r\nMonitorChanges=wrong\r\n[prefs]\r\n"
                 " MONITORCHANGES=True\r\nempty=\r\n");
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("MonitorChanges"), {}),
              QStringLiteral("True"));
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("empty"), QStringLiteral("d")), QString());
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("absent"), QStringLiteral("d")),
              QStringLiteral("d"));
    store.setValue(kApp, kPrefs, QStringLiteral("MonitorChanges"), QStringLiteral("False"));
    EXPECT_EQ(ini(), "# by hand\n[Other]\nMonitorChanges=wrong\n[prefs]\nMonitorChanges=False\n"
                     "empty=\n");
}

TEST_F(IniSettingsStoreTest, MissingFileReadsDefaults)
{
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("x"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));
}

// Another program flips a value between two texts of the same size, faster than the file's
// time stamp moves: every read right after a write sees it.
TEST_F(IniSettingsStoreTest, SeesEveryWriteOfAnotherProcessAtOnce)
{
    QProcess writer;
    writer.start(QStringLiteral(SETTINGS_WRITER_PATH),
                 {folder.path(), kApp, kPrefs, QStringLiteral("MonitorChanges")});
    ASSERT_TRUE(writer.waitForStarted());
    for (int i = 0; i < 60; ++i) {
        const QString value = i % 2 ? QStringLiteral("True") : QStringLiteral("Fals");
        writer.write((value + QLatin1Char('\n')).toUtf8());
        ASSERT_TRUE(writer.waitForReadyRead(10000));
        while (writer.canReadLine())
            writer.readLine();
        ASSERT_EQ(store.value(kApp, kPrefs, QStringLiteral("MonitorChanges"), {}), value) << i;
    }
    writer.closeWriteChannel();
    writer.waitForFinished();
}

TEST_F(IniSettingsStoreTest, TwoWritersNeverLoseEachOthersKeys)
{
    QProcess writers[2];
    const QString keys[2] = {QStringLiteral("first"), QStringLiteral("second")};
    QByteArray input;
    for (int i = 0; i < 100; ++i)
        input += QByteArray::number(i) + '\n';
    for (int w = 0; w < 2; ++w) {
        writers[w].start(QStringLiteral(SETTINGS_WRITER_PATH),
                         {folder.path(), kApp, kPrefs, keys[w]});
        ASSERT_TRUE(writers[w].waitForStarted());
    }
    for (QProcess &writer : writers) {
        writer.write(input);
        writer.closeWriteChannel();
    }
    for (QProcess &writer : writers)
        ASSERT_TRUE(writer.waitForFinished(60000));
    for (const QString &key : keys)
        EXPECT_EQ(store.value(kApp, kPrefs, key, {}), QStringLiteral("99"));
}

TEST(Preferences, KeysAndDefaults)
{
    TestFolder folder;
    IniSettingsStore store(folder.path());
    Preferences prefs(store);
    EXPECT_EQ(prefs.read(Pref::FormHeight), QStringLiteral("6705"));
    EXPECT_EQ(prefs.read(Pref::FormWidth), QStringLiteral("9600"));
    EXPECT_EQ(prefs.read(Pref::AlwaysOnTop), QStringLiteral("N"));
    EXPECT_EQ(prefs.read(Pref::FontSize), QStringLiteral("Small"));
    EXPECT_EQ(prefs.read(Pref::MonitorChanges, QStringLiteral("True")), QStringLiteral("True"));
    prefs.write(Pref::RootDirectory, QStringLiteral("/r/"));
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("quillet_monitor_root_directory"), {}),
              QStringLiteral("/r/"));
    prefs.writeIfChanged(Pref::MonitorChanges, QStringLiteral("True"));
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("MonitorChanges"), {}),
              QStringLiteral("True"));
    EXPECT_EQ(prefs.readSpellingOption(kSpellingOptions[4]), QStringLiteral("False"));
    prefs.writeSpellingOption(kSpellingOptions[4], true);
    EXPECT_EQ(store.value(kApp, kPrefs, QStringLiteral("IgnoreCapitalizedWords"), {}),
              QStringLiteral("True"));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
