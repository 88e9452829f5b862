// Open With through the desktop portal, against a stand-in portal on a private session bus: what
// the portal is given, and when our own chooser takes over.
#include "testfolder.h"

#include "desktopshell.h"
#include "portalopenwith.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <unistd.h>

// The OpenURI interface of the portal: records each OpenFile and answers with `response`.
class StandInPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.OpenURI")

public:
    explicit StandInPortal(QDBusConnection bus) : m_bus(bus) {}

    struct Request
    {
        QString parentWindow;
        QByteArray fileContents;
        QVariantMap options;
    };
    QList<Request> requests;
    uint response = 0;

public slots:
    QDBusObjectPath OpenFile(const QString &parentWindow, const QDBusUnixFileDescriptor &fd,
                             const QVariantMap &options, const QDBusMessage &message)
    {
        QFile file;
        QByteArray contents;
        if (file.open(::dup(fd.fileDescriptor()), QIODevice::ReadOnly,
                      QFileDevice::AutoCloseHandle)) {
            contents = file.readAll();
        }
        requests.append({parentWindow, contents, options});
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                .arg(sender, options.value(QStringLiteral("handle_token")).toString());
        QDBusMessage answer = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        answer << response << QVariantMap();
        m_bus.send(answer);
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
};

class PortalTest : public QObject
{
    Q_OBJECT

private:
    QProcess m_daemon;
    TestFolder m_folder;
    std::unique_ptr<StandInPortal> m_portal;
    QString m_file;

    OpenWithDialog *openWith(QWidget &owner)
    {
        DesktopShell shell([](const QString &, const QStringList &) { return true; });
        shell.openWith(m_file, &owner);
        // The request is over once it has discarded itself.
        if (!QTest::qWaitFor([] { return !qApp->findChild<PortalRequest *>(); }))
            return nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return owner.findChild<OpenWithDialog *>();
    }

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY(m_daemon.canReadLine());
        const QByteArray address = m_daemon.readLine().trimmed();
        // Before the program's first use of the session bus, which is then this one.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);

        QDBusConnection portalBus =
            QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("portal"));
        QVERIFY(portalBus.isConnected());
        m_portal = std::make_unique<StandInPortal>(portalBus);
        QVERIFY(portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                         m_portal.get(), QDBusConnection::ExportAllSlots));
        QVERIFY(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        m_file = m_folder.write(QStringLiteral("TMA01 \"draft\"; x.rtf"), "{\\rtf1 form}");
    }

    void cleanupTestCase()
    {
        m_portal.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished();
        }
    }

    void init() { m_portal->requests.clear(); }

    void thePortalGetsTheOpenFileAndAsks_data()
    {
        QTest::addColumn<uint>("response");
        QTest::addColumn<bool>("ourChooser");
        QTest::newRow("a program was chosen") << 0u << false;
        QTest::newRow("the user cancelled") << 1u << false;
        QTest::newRow("the portal could not ask") << 2u << true;
    }
    void thePortalGetsTheOpenFileAndAsks()
    {
        QFETCH(uint, response);
        QFETCH(bool, ourChooser);
        m_portal->response = response;
        QWidget owner;
        OpenWithDialog *chooser = openWith(owner);
        QCOMPARE(m_portal->requests.size(), 1);
        const StandInPortal::Request &request = m_portal->requests.first();
        QCOMPARE(request.fileContents, QByteArray("{\\rtf1 form}"));
        QCOMPARE(request.options.value(QStringLiteral("ask")), QVariant(true));
        QCOMPARE(request.parentWindow, QString()); // no X11 window on this platform
        QCOMPARE(chooser != nullptr, ourChooser);
    }

    void withoutAPortalOurChooserTakesOver()
    {
        QDBusConnection portalBus(QStringLiteral("portal"));
        QVERIFY(portalBus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QWidget owner;
        QVERIFY(openWith(owner));
        QVERIFY(m_portal->requests.isEmpty());
        QVERIFY(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
};

QTEST_MAIN(PortalTest)
#include "portal_test.moc"
