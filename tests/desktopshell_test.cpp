// Open and Open With on a freedesktop.org desktop: the file's address handed to the desktop,
// and our own chooser of the applications registered for the file's type.
#include "testfolder.h"

#include "desktopshell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

class UrlRecorder : public QObject
{
    Q_OBJECT

public slots:
    void handle(const QUrl &url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

class DesktopShellTest : public QObject
{
    Q_OBJECT

private:
    struct Launch
    {
        QString program;
        QStringList arguments;
    };

    void writeEntry(const QString &dataDir, const QString &file, const QByteArray &body)
    {
        const QString path = m_folder.path(dataDir + QStringLiteral("/applications/") + file);
        QDir().mkpath(QFileInfo(path).path());
        QFile entry(path);
        QVERIFY(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\n" + body);
    }

    // Our chooser over owner, as Open With leaves it.
    OpenWithDialog *openChooser(const QString &path, QWidget &owner)
    {
        DesktopShell shell(
            [this](const QString &program, const QStringList &arguments) {
                m_launches.append({program, arguments});
                return m_launchSucceeds;
            },
            false);
        shell.openWith(path, &owner);
        auto *chooser = owner.findChild<OpenWithDialog *>();
        return chooser && QTest::qWaitForWindowExposed(chooser) ? chooser : nullptr;
    }

    TestFolder m_folder;
    QList<Launch> m_launches;
    bool m_launchSucceeds = true;
    // Blanks, quotes and a semicolon: a shell would make several words, or commands, of it.
    const QString m_fileName = QStringLiteral("TMA01 \"draft\"; rm -rf ~.rtf");

private slots:
    void initTestCase()
    {
        writeEntry(QStringLiteral("home"), QStringLiteral("writer.desktop"),
                   "Name=Writer\nExec=\"/opt/my writer/writer\" --open %U\n"
                   "MimeType=text/rtf;\n");
        writeEntry(QStringLiteral("system"), QStringLiteral("editor.desktop"),
                   "Name=Editor\nExec=editor %f\nMimeType=text/plain;\n");
        writeEntry(QStringLiteral("system"), QStringLiteral("viewer.desktop"),
                   "Name=Image Viewer\nExec=viewer %f\nMimeType=image/png;\n");
        // The MIME database lives in the data folders too: the system's stay in reach, each
        // in a data folder of its own without applications.
        QStringList dataDirs{m_folder.path(QStringLiteral("system"))};
        const QStringList mimeDirs =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                      QStandardPaths::LocateDirectory);
        QVERIFY(!mimeDirs.isEmpty());
        for (const QString &mime : mimeDirs) {
            const QString dataDir = m_folder.path(QStringLiteral("mime%1").arg(dataDirs.size()));
            QVERIFY(QDir().mkpath(dataDir));
            QVERIFY(QFile::link(mime, dataDir + QStringLiteral("/mime")));
            dataDirs << dataDir;
        }
        qputenv("XDG_DATA_HOME", m_folder.path(QStringLiteral("home")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", dataDirs.join(u':').toLocal8Bit());
    }

    void init()
    {
        m_launches.clear();
        m_launchSucceeds = true;
    }

    void openHandsTheFileAddressToTheDesktop()
    {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "handle");
        const QString path = m_folder.path(m_fileName);
        DesktopShell().openFile(path, nullptr);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.urls.size(), 1);
        QCOMPARE(recorder.urls.first().toLocalFile(), path);
    }

    void chooserListsTheApplicationsForTheFileType()
    {
        QWidget owner;
        OpenWithDialog *chooser = openChooser(m_folder.path(m_fileName), owner);
        QVERIFY(chooser);
        QVERIFY(chooser->isVisible());
        QCOMPARE(chooser->windowModality(), Qt::NonModal); // the program's windows stay usable
        QVERIFY(chooser->noteText().contains(QStringLiteral("not available")));
        QStringList names;
        for (int row = 0; row < chooser->applicationList()->count(); ++row)
            names << chooser->applicationList()->item(row)->text();
        // The rich-text program first, then those for plain text, which rich text derives from.
        QCOMPARE(names, (QStringList{QStringLiteral("Writer"), QStringLiteral("Editor")}));
        QVERIFY(m_launches.isEmpty());
    }

    void chosenApplicationGetsTheFileAsOneArgument_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("asUrl");
        QTest::addColumn<QStringList>("before");
        QTest::newRow("writer, by address") << 0 << QStringLiteral("/opt/my writer/writer") << true
                                            << QStringList{QStringLiteral("--open")};
        QTest::newRow("editor, by path") << 1 << QStringLiteral("editor") << false << QStringList();
    }
    void chosenApplicationGetsTheFileAsOneArgument()
    {
        QFETCH(int, row);
        QFETCH(QString, program);
        QFETCH(bool, asUrl);
        QFETCH(QStringList, before);
        const QString path = m_folder.path(m_fileName);
        QWidget owner;
        QPointer<OpenWithDialog> chooser = openChooser(path, owner);
        QVERIFY(chooser);
        chooser->applicationList()->setCurrentRow(row);
        QTest::mouseClick(chooser->openButton(), Qt::LeftButton);

        QCOMPARE(m_launches.size(), 1);
        QCOMPARE(m_launches.first().program, program);
        const QStringList arguments = m_launches.first().arguments;
        QCOMPARE(arguments.size(), before.size() + 1);
        QCOMPARE(arguments.mid(0, before.size()), before);
        const QString file = arguments.last();
        QCOMPARE(asUrl ? QUrl(file).toLocalFile() : file, path);
        QTRY_VERIFY(!chooser); // closed and discarded
    }

    void aProgramThatDoesNotStartLeavesTheChooserOpen()
    {
        m_launchSucceeds = false;
        QWidget owner;
        OpenWithDialog *chooser = openChooser(m_folder.path(m_fileName), owner);
        QVERIFY(chooser);
        QTest::mouseClick(chooser->openButton(), Qt::LeftButton);
        QCOMPARE(m_launches.size(), 1);
        QVERIFY(chooser->isVisible());
        QCOMPARE(chooser->noteText(),
                 QStringLiteral("Writer could not be started. Choose another program:"));
    }

    void aTypeWithoutApplicationsSaysSo()
    {
        QWidget owner;
        OpenWithDialog *chooser = openChooser(m_folder.path(QStringLiteral("TMA01.xyz")), owner);
        QVERIFY(chooser);
        QCOMPARE(chooser->applicationList()->count(), 0);
        QVERIFY(!chooser->openButton()->isEnabled());
        QCOMPARE(chooser->noteText(),
                 QStringLiteral("No program on this computer is registered for files like "
                                "TMA01.xyz."));
    }
};

QTEST_MAIN(DesktopShellTest)
#include "desktopshell_test.moc"
