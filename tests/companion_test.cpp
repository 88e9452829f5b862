// The names of previous monitor forms, the monitor comments document, and reading the Linux
// desktop's applications for our own open-with chooser.
#include "testfolder.h"

#include "commentsdocument.h"
#include "desktopentries.h"
#include "previousforms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct NameCase
{
    const char *name;
    bool listed;
};

class PreviousFormNameTest : public testing::TestWithParam<NameCase>
{
};

TEST_P(PreviousFormNameTest, ListedOrNot)
{
    EXPECT_EQ(isPreviousMonitorFormName(QString::fromUtf8(GetParam().name)), GetParam().listed)
        << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviousFormNameTest,
    testing::Values(NameCase{"TMA01 monitor form.doc", true}, NameCase{"tma03.rtf", true},
                    NameCase{"Tma04.doc", true}, NameCase{"tMA08.rtf", true},
                    NameCase{"TMA7", true}, NameCase{"TMA99", true},
                    NameCase{"TMA1.doc", false},   // "1." is no number
                    NameCase{"TMA 1.doc", false},  // " 1" holds a blank
                    NameCase{"TMA  x.doc", false}, // blanks only
                    NameCase{"TMA7 ", false}, NameCase{"TMA.doc", false},
                    NameCase{"TMA", false}, // nothing after TMA
                    NameCase{"TM", false}, NameCase{"", false}, NameCase{"TMA-1.doc", false},
                    NameCase{"Monitor TMA01.doc", false}, NameCase{"monitor.fhi", false},
                    NameCase{"monitor_comments.rtf", false},
                    NameCase{"TMA\u0661\u0662.doc", false}, // digits, but not 0 to 9
                    NameCase{"\uFF34\uFF2D\uFF21"
                             "01.doc",
                             false})); // full-width TMA

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

TEST(ListPreviousMonitorForms, OnlyOrdinaryFilesWithFormNames)
{
    TestFolder folder;
    for (const char *name : {"TMA01 monitor form.doc", "tma03.rtf", "Tma04.doc", "tMA08.rtf",
                             "TMA7", "TMA1.doc", "TMA 1.doc", "TMA.doc", "Monitor TMA01.doc",
                             "monitor.fhi", "monitor_comments.rtf", ".TMA06.doc"}) {
        folder.write(QString::fromUtf8(name), "x");
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("TMA05")));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("TMA05")),
                            folder.path(QStringLiteral("TMA09 link to folder"))));
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("nowhere")),
                            folder.path(QStringLiteral("TMA10 dangling.doc"))));

    EXPECT_EQ(sorted(listPreviousMonitorForms(folder.path())),
              (QStringList{u"TMA01 monitor form.doc"_s, u"TMA7"_s, u"Tma04.doc"_s, u"tMA08.rtf"_s,
                           u"tma03.rtf"_s}));
}

TEST(ListPreviousMonitorForms, TutorFolderWithOneForm)
{
    TestFolder folder;
    for (const char *name : {"monitor.fhi", "monitor_comments.rtf", "TMA02.doc"})
        folder.write(QString::fromUtf8(name), "x");
    EXPECT_EQ(listPreviousMonitorForms(folder.path()), QStringList{u"TMA02.doc"_s});
}

TEST(ListPreviousMonitorForms, EmptyOrMissingFolder)
{
    TestFolder folder;
    EXPECT_TRUE(listPreviousMonitorForms(folder.path()).isEmpty());
    EXPECT_TRUE(listPreviousMonitorForms(folder.path(QStringLiteral("absent"))).isEmpty());
}

// --- The monitor comments document ---

TEST(CreateEmptyDocument, CreatesOnceAndNeverEmptiesWhatIsThere)
{
    TestFolder folder;
    const QString path = folder.path(QStringLiteral("monitor_comments.rtf"));
    QString error;
    EXPECT_EQ(createEmptyDocument(path, error), DocumentCreation::Created);
    EXPECT_EQ(folder.read(QStringLiteral("monitor_comments.rtf")), QByteArray(""));

    folder.write(QStringLiteral("monitor_comments.rtf"), "{\\rtf1 notes}");
    EXPECT_EQ(createEmptyDocument(path, error), DocumentCreation::AlreadyThere);
    EXPECT_EQ(folder.read(QStringLiteral("monitor_comments.rtf")), QByteArray("{\\rtf1 notes}"));
}

TEST(CreateEmptyDocument, AFolderOrLinkOfThatNameCounts)
{
    TestFolder folder;
    QString error;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.rtf")));
    EXPECT_EQ(createEmptyDocument(folder.path(QStringLiteral("folder.rtf")), error),
              DocumentCreation::AlreadyThere);
    ASSERT_TRUE(QFile::link(folder.path(QStringLiteral("elsewhere.rtf")),
                            folder.path(QStringLiteral("link.rtf"))));
    EXPECT_EQ(createEmptyDocument(folder.path(QStringLiteral("link.rtf")), error),
              DocumentCreation::AlreadyThere);
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("elsewhere.rtf"))));
}

TEST(CreateEmptyDocument, MissingFolderFailsWithAReason)
{
    TestFolder folder;
    QString error;
    EXPECT_EQ(
        createEmptyDocument(folder.path(QStringLiteral("absent/monitor_comments.rtf")), error),
        DocumentCreation::Failed);
    EXPECT_FALSE(error.isEmpty());
}

// --- Exec lines ---

struct SplitCase
{
    const char *exec;
    std::optional<QStringList> args;
};

class SplitExecLineTest : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitExecLineTest, Arguments)
{
    EXPECT_EQ(splitExecLine(QString::fromUtf8(GetParam().exec)), GetParam().args)
        << GetParam().exec;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitExecLineTest,
    testing::Values(
        SplitCase{"writer %U", QStringList{u"writer"_s, u"%U"_s}},
        SplitCase{"  writer   --new\t%f ", QStringList{u"writer"_s, u"--new"_s, u"%f"_s}},
        SplitCase{"\"/opt/my office/bin/writer\" %f",
                  QStringList{u"/opt/my office/bin/writer"_s, u"%f"_s}},
        SplitCase{"sh -c \"echo \\\"hi\\\" \\$HOME \\`x\\` \\\\\" %f",
                  QStringList{u"sh"_s, u"-c"_s, u"echo \"hi\" $HOME `x` \\"_s, u"%f"_s}},
        SplitCase{"app --title=\"a b\"c", QStringList{u"app"_s, u"--title=a bc"_s}},
        SplitCase{"app \"\" %f", QStringList{u"app"_s, u""_s, u"%f"_s}},
        SplitCase{"app \"open", std::nullopt}, SplitCase{"", std::nullopt},
        SplitCase{"   ", std::nullopt}, SplitCase{"\"\" %f", std::nullopt}));

// --- Starting an application on a file ---

DesktopApplication application(const char *exec)
{
    DesktopApplication app;
    app.id = QStringLiteral("org.example.Writer.desktop");
    app.name = QStringLiteral("Example Writer");
    app.exec = QString::fromUtf8(exec);
    app.icon = QStringLiteral("writer");
    app.filePath = QStringLiteral("/usr/share/applications/org.example.Writer.desktop");
    return app;
}

// File names that a shell would take apart; here each must stay one argument.
const QStringList kAwkwardPaths = {
    QStringLiteral("/forms/TMA01 monitor form.doc"),
    QStringLiteral("/forms/TMA02 \"quoted\" 'too'.rtf"),
    QStringLiteral("/forms/TMA03; rm -rf ~; echo.doc"),
    QStringLiteral("/forms/TMA04 $(touch x) `y` | z & %f %u.doc"),
    QStringLiteral("/forms/TMA05 #?*[a].doc"),
};

TEST(CommandForFile, TheFileIsAlwaysExactlyOneArgument)
{
    for (const QString &path : kAwkwardPaths) {
        const QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        const struct
        {
            const char *exec;
            QStringList command;
        } cases[] = {
            {"writer %f", {u"writer"_s, path}},
            {"writer %F", {u"writer"_s, path}},
            {"writer --view %U", {u"writer"_s, u"--view"_s, url}},
            {"writer %u", {u"writer"_s, url}},
            {"writer", {u"writer"_s, path}},
            {"writer --open=%f", {u"writer"_s, u"--open="_s + path}},
            {"\"/opt/my writer/bin/w\" %i --class %c %k %d %f",
             {u"/opt/my writer/bin/w"_s, u"--icon"_s, u"writer"_s, u"--class"_s,
              u"Example Writer"_s, u"/usr/share/applications/org.example.Writer.desktop"_s, path}},
            {"writer --percent=100%% %f", {u"writer"_s, u"--percent=100%"_s, path}},
        };
        for (const auto &c : cases) {
            EXPECT_EQ(commandForFile(application(c.exec), path), c.command)
                << c.exec << " on " << path.toStdString();
        }
        // What an application receives as a URL leads back to the same file.
        EXPECT_EQ(QUrl(url).toLocalFile(), path);
    }
}

TEST(CommandForFile, RefusesAnExecLineThatDoesNotSplit)
{
    EXPECT_EQ(commandForFile(application("writer \"%f"), kAwkwardPaths.first()), std::nullopt);
    EXPECT_EQ(commandForFile(application("%f"), kAwkwardPaths.first()), std::nullopt);
}

// --- Desktop files ---

std::optional<DesktopApplication> parse(const QByteArray &entry, const QString &locale = {})
{
    return parseDesktopEntry(entry, QStringLiteral("test.desktop"),
                             QStringLiteral("/apps/test.desktop"), locale);
}

const QByteArray kWriter = "[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=Writer\n"
                           "Name[en]=Writer (English)\n"
                           "Name[en_GB]=Writer (British)\n"
                           "Exec=writer\\s--new %U\n"
                           "Icon=writer\n"
                           "MimeType=application/rtf;application/msword;\n"
                           "\n"
                           "[Desktop Action NewDocument]\n"
                           "Name=New Document\n"
                           "Exec=writer --other\n";

TEST(ParseDesktopEntry, ReadsTheEntryGroupOnly)
{
    const auto app = parse(kWriter);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->name, QStringLiteral("Writer"));
    EXPECT_EQ(app->exec, QStringLiteral("writer --new %U"));
    EXPECT_EQ(app->icon, QStringLiteral("writer"));
    EXPECT_EQ(app->mimeTypes, (QStringList{u"application/rtf"_s, u"application/msword"_s}));
    EXPECT_EQ(parse(kWriter, QStringLiteral("en_GB"))->name, QStringLiteral("Writer (British)"));
    EXPECT_EQ(parse(kWriter, QStringLiteral("en_US"))->name, QStringLiteral("Writer (English)"));
    EXPECT_EQ(parse(kWriter, QStringLiteral("de_DE"))->name, QStringLiteral("Writer"));
}

TEST(ParseDesktopEntry, SkipsWhatCannotOpenFilesHere)
{
    const auto with = [](const QByteArray &from, const QByteArray &to) {
        QByteArray entry = kWriter;
        return entry.replace(from, to);
    };
    const struct
    {
        const char *what;
        QByteArray entry;
    } cases[] = {
        {"a link", with("Type=Application", "Type=Link")},
        {"hidden", with("Icon=writer", "Hidden=true")},
        {"not to be shown", with("Icon=writer", "NoDisplay=true")},
        {"meant for a terminal", with("Icon=writer", "Terminal=true")},
        {"program not installed", with("Icon=writer", "TryExec=/nonexistent/writer")},
        {"quote left open", with("Exec=writer\\s--new %U", "Exec=\"writer %U")},
        {"no Exec", with("Exec=writer\\s--new %U", "")},
        {"no Name", with("Name=Writer\n", "")},
        {"no entry group", with("[Desktop Entry]", "[Something Else]")},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(parse(c.entry)) << c.what;
    EXPECT_TRUE(parse(with("Icon=writer", "TryExec=sh"))) << "installed program";
}

class ApplicationsForMimeTypes : public testing::Test
{
protected:
    void writeEntry(const QString &dataDir, const QString &relative, const QByteArray &name,
                    const QByteArray &mimeTypes, const QByteArray &extra = {})
    {
        const QString path = m_folder.path(dataDir + QStringLiteral("/applications/") + relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name.toLower() +
                   " %f\nMimeType=" + mimeTypes + "\n" + extra);
    }

    QStringList names(const QList<DesktopApplication> &apps)
    {
        QStringList result;
        for (const DesktopApplication &app : apps)
            result << app.name + u'=' + app.id;
        return result;
    }

    TestFolder m_folder;
};

TEST_F(ApplicationsForMimeTypes, MostSpecificTypeFirstAndEarlierFoldersWin)
{
    const QString home = QStringLiteral("home");
    const QString system = QStringLiteral("system");
    writeEntry(system, QStringLiteral("writer.desktop"), "Writer", "application/rtf;");
    writeEntry(system, QStringLiteral("kde/editor.desktop"), "Editor", "text/plain;");
    writeEntry(system, QStringLiteral("alias.desktop"), "Aliased", "text/rtf;"); // alias
    writeEntry(system, QStringLiteral("viewer.desktop"), "Viewer", "application/msword;");
    writeEntry(system, QStringLiteral("both.desktop"), "Both", "text/plain;application/rtf;");
    writeEntry(system, QStringLiteral("gone.desktop"), "Gone", "application/rtf;");
    writeEntry(home, QStringLiteral("gone.desktop"), "Gone", "application/rtf;", "Hidden=true\n");
    writeEntry(home, QStringLiteral("viewer.desktop"), "My Viewer", "application/msword;");

    const QStringList dirs{m_folder.path(home), m_folder.path(system)};
    const QStringList rtf{QStringLiteral("application/rtf"), QStringLiteral("text/plain")};
    EXPECT_EQ(names(applicationsForMimeTypes(rtf, dirs, QString())),
              (QStringList{u"Aliased=alias.desktop"_s, u"Both=both.desktop"_s,
                           u"Writer=writer.desktop"_s, u"Editor=kde-editor.desktop"_s}));
    EXPECT_EQ(
        names(applicationsForMimeTypes({QStringLiteral("application/msword")}, dirs, QString())),
        QStringList{u"My Viewer=viewer.desktop"_s});
    EXPECT_TRUE(applicationsForMimeTypes({QStringLiteral("image/png")}, dirs, QString()).isEmpty());
}

TEST(XdgDataDirs, HomeFirstThenTheSystemFolders)
{
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME");
    const QByteArray oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", "/h/share");
    qputenv("XDG_DATA_DIRS", "/a/share:/h/share::/b/share");
    EXPECT_EQ(xdgDataDirs(), (QStringList{u"/h/share"_s, u"/a/share"_s, u"/b/share"_s}));
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(xdgDataDirs(), (QStringList{u"/h/share"_s, u"/usr/local/share"_s, u"/usr/share"_s}));
    qputenv("XDG_DATA_HOME", oldHome);
    qputenv("XDG_DATA_DIRS", oldDirs);
}

} // namespace
