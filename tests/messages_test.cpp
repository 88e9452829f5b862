#include "fakewindowmessages.h"
#include "foreignsocket.h"
#include "localsocketendpoint.h"
#include "localsocketmessages.h"
#include "localsocketwire.h"
#include "tutorfileclaim.h"
#include "suitewindows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

// Readable failure messages.
void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using suite::LocalSocketEndpoint;
using suite::LocalSocketMessages;
using suite::WindowHandle;

namespace {

using namespace std::chrono_literals;

const QString kTutorTitle = suite::windowTitle(suite::SuiteWindow::TutorSummary);
const QString kFormTitle = suite::windowTitle(suite::SuiteWindow::MonitorForm);

struct Received
{
    quint32 message;
    qint64 wParam;
    qint64 lParam;

    bool operator==(const Received &other) const
    {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

// Runs the event loop, where endpoints receive, until `done` or the (generous) bound.
bool processEventsUntil(const std::function<bool()> &done, int boundMilliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > boundMilliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A process that has neither ended nor become a zombie.
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state < line.size() && line.at(state) != 'Z';
}

// Every case gets its own temporary folder, hence its own socket names: cases may run at once,
// and a stand-in someone runs for a demo is not disturbed.
class MessagesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sockets.isValid());
        m_hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
        m_previousTmpdir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_sockets.path()));
        // The sockets go to the runtime folder where there is one: the case's own temporary
        // folder is used instead.
        m_runtimeDir = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
    }

    void TearDown() override
    {
        for (QProcess *process : {&standin, &probe}) {
            process->kill();
            process->waitForFinished(10000);
        }
        if (m_hadTmpdir)
            qputenv("TMPDIR", m_previousTmpdir);
        else
            qunsetenv("TMPDIR");
        if (!m_runtimeDir.isEmpty())
            qputenv("XDG_RUNTIME_DIR", m_runtimeDir);
        if (m_planter > 0) {
            ::kill(m_planter, SIGKILL);
            ::waitpid(m_planter, nullptr, 0);
        }
    }

    // Starts the program and waits until its endpoint answers under `title`.
    void startReceiver(QProcess &process, const QString &program, const QStringList &arguments,
                       const QString &title)
    {
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
        LocalSocketMessages messages;
        QElapsedTimer timer;
        timer.start();
        while (messages.findWindow(title) == 0) {
            ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().data();
            ASSERT_LT(timer.elapsed(), 20000);
            QThread::msleep(20);
        }
    }

    void startHeadlessStandin()
    {
        startReceiver(standin, QStringLiteral(STANDIN_PATH), {QStringLiteral("--headless")},
                      kTutorTitle);
    }

    // What the stand-in has written to its standard output so far, without waiting.
    QStringList standinLinesNow()
    {
        while (standin.waitForReadyRead(0)) {
        }
        m_standinOutput += QString::fromUtf8(standin.readAllStandardOutput());
        return m_standinOutput.split(u'\n', Qt::SkipEmptyParts);
    }

    int runStandin(const QStringList &arguments)
    {
        QProcess sender;
        sender.start(QStringLiteral(STANDIN_PATH), arguments);
        EXPECT_TRUE(processEventsUntil([&] { return sender.state() == QProcess::NotRunning; }));
        return sender.exitStatus() == QProcess::NormalExit ? sender.exitCode() : -1;
    }

    QProcess standin;
    QProcess probe;
    pid_t m_planter = -1; // another user's listener, killed at the end

private:
    QTemporaryDir m_sockets;
    bool m_hadTmpdir = false;
    QByteArray m_previousTmpdir;
    QByteArray m_runtimeDir;
    QString m_standinOutput;
};

TEST(LocalSocketWireTest, AFrameIsTwentyFourLittleEndianBytes)
{
    using suite::localsocket::Frame;
    using suite::localsocket::FrameKind;
    const Frame frame{1074, FrameKind::Sent, 2, -2};
    const QByteArray bytes = suite::localsocket::encodeFrame(frame);
    EXPECT_EQ(bytes.toHex(), QByteArray("32040000"
                                        "02000000"
                                        "0200000000000000"
                                        "feffffffffffffff"));
    const std::optional<Frame> decoded = suite::localsocket::decodeFrame(bytes);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->message, 1074u);
    EXPECT_EQ(decoded->kind, FrameKind::Sent);
    EXPECT_EQ(decoded->lParam, -2);
    EXPECT_FALSE(suite::localsocket::decodeFrame(bytes.left(23)).has_value());
    EXPECT_FALSE(suite::localsocket::decodeFrame(QByteArray(24, '\0')).has_value());
}

TEST_F(MessagesTest, TheHeadlessStandinPrintsWhatIsPostedAndSentBeforeTheSenderGoesOn)
{
    startHeadlessStandin();
    LocalSocketMessages messages;
    const WindowHandle tutor = messages.findWindow(kTutorTitle);
    ASSERT_NE(tutor, 0u);
    const qint32 zero = 0; // as the form passes it: the address of a 32-bit zero
    const qint64 address = reinterpret_cast<qintptr>(&zero);
    const QString sent1074 = QStringLiteral("received 1074 0 %1").arg(address);
    const QString sent1078 = QStringLiteral("received 1078 0 %1").arg(address);

    EXPECT_TRUE(messages.post(tutor, 1076, 1, 0));
    EXPECT_TRUE(messages.post(tutor, 1077, 1, 0));
    ASSERT_TRUE(messages.send(tutor, 1074, 0, address));
    EXPECT_TRUE(standinLinesNow().contains(sent1074));
    ASSERT_TRUE(messages.send(tutor, 1078, 0, address));
    EXPECT_TRUE(standinLinesNow().contains(sent1078));

    // Sent and posted messages may be handled in either order.
    QStringList lines;
    QElapsedTimer timer;
    timer.start();
    while ((lines = standinLinesNow()).size() < 4 && timer.elapsed() < 20000)
        standin.waitForReadyRead(100);
    QStringList expected{sent1074, sent1078, QStringLiteral("received 1076 1 0"),
                         QStringLiteral("received 1077 1 0")};
    lines.sort();
    expected.sort();
    EXPECT_EQ(lines, expected);
}

TEST_F(MessagesTest, TheStandinSendsAndPostsToTheFormsWindow)
{
    QList<Received> received;
    qint64 senderPid = 0;
    bool senderWaitedForTheHandler = false;
    LocalSocketEndpoint form;
    ASSERT_TRUE(form.open(kFormTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
        if (message == 1074) { // a sender that did not wait would have ended meanwhile
            QThread::msleep(300);
            senderWaitedForTheHandler = isRunning(senderPid);
        }
    }));

    QProcess sender;
    sender.start(QStringLiteral(STANDIN_PATH),
                 {QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("2")});
    ASSERT_TRUE(sender.waitForStarted(10000));
    senderPid = sender.processId();
    ASSERT_TRUE(processEventsUntil([&] { return sender.state() == QProcess::NotRunning; }));
    EXPECT_EQ(sender.exitCode(), 0) << sender.readAllStandardError().data();
    EXPECT_TRUE(senderWaitedForTheHandler);
    EXPECT_EQ(received, (QList<Received>{{1074, 2, 0}}));

    EXPECT_EQ(runStandin({QStringLiteral("--post"), QStringLiteral("1076"), QStringLiteral("0")}),
              0);
    EXPECT_TRUE(processEventsUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received, (QList<Received>{{1074, 2, 0}, {1076, 0, 0}}));
}

TEST_F(MessagesTest, TheHandlerMayCloseAndReopenTheEndpointWhileTheSenderWaits)
{
    // As the form does on 1075: closes, and opens again when the monitor cancels the close.
    for (const bool reopen : {false, true}) {
        QList<quint32> received;
        LocalSocketEndpoint form;
        LocalSocketEndpoint::Handler handler = [&](quint32 message, qint64, qint64) {
            received.append(message);
            if (message == 1075) {
                form.close();
                if (reopen)
                    form.open(kFormTitle, handler);
            }
        };
        ASSERT_TRUE(form.open(kFormTitle, handler));
        EXPECT_EQ(
            runStandin({QStringLiteral("--send"), QStringLiteral("1075"), QStringLiteral("0")}), 0);
        EXPECT_EQ(form.isOpen(), reopen);
        EXPECT_EQ(
            runStandin({QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("1")}),
            reopen ? 0 : 1);
        EXPECT_EQ(received, reopen ? (QList<quint32>{1075, 1074}) : QList<quint32>{1075});
    }
}

// While the handler waits in a box of its own (an event loop), a send from the suite is handled
// and answered there, as a window's messages are on Windows, not kept waiting until the bound.
TEST_F(MessagesTest, ASendIsAnsweredWhileTheHandlerShowsABox)
{
    QProcess later;
    bool answeredDuringTheBox = false;
    LocalSocketEndpoint form;
    ASSERT_TRUE(form.open(kFormTitle, [&](quint32 message, qint64, qint64) {
        QEventLoop box; // the 1076 handled in it ends the sender, which ends the box
        QObject::connect(&later, &QProcess::finished, &box, &QEventLoop::quit);
        QTimer::singleShot(10000, &box, [&box] { box.exit(1); });
        if (message == 1074)
            later.start(QStringLiteral(STANDIN_PATH),
                        {QStringLiteral("--send"), QStringLiteral("1076"), QStringLiteral("0")});
        answeredDuringTheBox = message == 1074 && box.exec() == 0 && later.exitCode() == 0;
    }));
    EXPECT_EQ(runStandin({QStringLiteral("--post"), QStringLiteral("1074"), QStringLiteral("1")}),
              0);
    EXPECT_TRUE(processEventsUntil([&] { return later.state() == QProcess::NotRunning; }));
    EXPECT_TRUE(answeredDuringTheBox);
}

// A second form's claim on a tutor file is refused, even when another user made the socket
// folder first (so that the first form cannot be reached): the claim is in the user's data.
TEST_F(MessagesTest, ASecondClaimOnAFileIsRefusedWhateverAnotherUserMade)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QByteArray shared =
        QFile::encodeName(QStringLiteral("%1/nqm-%2").arg(QDir::tempPath()).arg(::getuid()));
    ASSERT_TRUE(::mkdir(shared, 0700) == 0 && ::chown(shared, 65534, 65534) == 0);
    const auto first = suite::createPlatformClaim();
    EXPECT_EQ(first->claim(data.path(), {}), suite::TutorFileClaim::Outcome::Ours);
    EXPECT_EQ(suite::createPlatformClaim()->claim(data.path(), {}),
              suite::TutorFileClaim::Outcome::HeldElsewhere);
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(MessagesTest, SendWithoutTheFormsWindowExitsOne)
{
    QProcess sender;
    sender.start(QStringLiteral(STANDIN_PATH),
                 {QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("1")});
    ASSERT_TRUE(sender.waitForFinished(10000));
    EXPECT_EQ(sender.exitCode(), 1);
    EXPECT_TRUE(sender.readAllStandardError().contains("no window"));
}

TEST_F(MessagesTest, ASocketLeftByAKilledEndpointIsRemovedWhenTheTitleIsOpenedAgain)
{
    startHeadlessStandin();
    LocalSocketMessages messages;
    ASSERT_NE(messages.findWindow(kTutorTitle), 0u); // kept connection, to a window about to go
    const QString socketFile =
        suite::localsocket::serverNameFor(suite::localsocket::handleForTitle(kTutorTitle));
    standin.kill();
    ASSERT_TRUE(standin.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(socketFile));
    EXPECT_EQ(messages.findWindow(kTutorTitle), 0u);

    QList<Received> received;
    LocalSocketEndpoint tutor;
    ASSERT_TRUE(tutor.open(kTutorTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
    })) << tutor.errorString().toStdString();
    const QFile::Permissions othersAndGroup = QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(socketFile) & othersAndGroup, QFile::Permissions());

    const WindowHandle w = messages.findWindow(kTutorTitle);
    ASSERT_NE(w, 0u);
    EXPECT_TRUE(messages.post(w, 1076, 1, 0));
    EXPECT_TRUE(processEventsUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, (QList<Received>{{1076, 1, 0}}));

    LocalSocketEndpoint second;
    EXPECT_FALSE(second.open(kTutorTitle, [](quint32, qint64, qint64) {}));
    tutor.close();
    EXPECT_FALSE(QFileInfo::exists(socketFile));
}

TEST_F(MessagesTest, ASendIsGivenUpAfterTheBoundWhenTheHandlerDoesNotReturn)
{
    const QString title = QStringLiteral("hanging receiver");
    startReceiver(probe, QStringLiteral(RECEIVER_PROBE_PATH), {title, QStringLiteral("hang")},
                  title);
    LocalSocketMessages messages(500ms);
    const WindowHandle w = messages.findWindow(title);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(messages.send(w, 1074, 0, 0));
    EXPECT_GE(timer.elapsed(), 450);
    EXPECT_LT(timer.elapsed(), 10000);
}

// A window that never accepts, its backlog full: the search gives up at the bound instead of
// waiting for a connection that never comes.
TEST_F(MessagesTest, ASearchGivesUpOnAWindowThatNeverAccepts)
{
    const QString title = QStringLiteral("stalled receiver");
    const QByteArray path = QFile::encodeName(
        suite::localsocket::serverNameFor(suite::localsocket::handleForTitle(title)));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const auto *at = reinterpret_cast<const sockaddr *>(&address);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_TRUE(::bind(listener, at, sizeof(address)) == 0 && ::listen(listener, 0) == 0);
    std::vector<int> waiting;
    do
        waiting.push_back(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
    while (::connect(waiting.back(), at, sizeof(address)) == 0 && waiting.size() < 64);
    ASSERT_EQ(errno, EAGAIN) << "the backlog did not fill";
    LocalSocketMessages messages(500ms);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(messages.findWindow(title), 0u);
    EXPECT_LT(timer.elapsed(), 10000);
    for (const int fd : waiting)
        ::close(fd);
    ::close(listener);
}

TEST_F(MessagesTest, ASendEndsAtOnceWhenTheReceiverDiesInItsHandler)
{
    const QString title = QStringLiteral("dying receiver");
    startReceiver(probe, QStringLiteral(RECEIVER_PROBE_PATH), {title, QStringLiteral("die")},
                  title);
    LocalSocketMessages messages; // the full bound of 30 s
    const WindowHandle w = messages.findWindow(title);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(messages.send(w, 1074, 0, 0));
    EXPECT_LT(timer.elapsed(), 10000);
    ASSERT_TRUE(probe.waitForFinished(10000));
    EXPECT_FALSE(messages.post(w, 1076, 1, 0));
    EXPECT_EQ(messages.findWindow(title), 0u);
}

TEST_F(MessagesTest, ASendToOnesOwnWindowCallsTheHandlerDirectly)
{
    QList<Received> received;
    LocalSocketEndpoint own;
    ASSERT_TRUE(own.open(kFormTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
    }));
    LocalSocketMessages messages(2s);
    const WindowHandle w = messages.findWindow(kFormTitle);
    ASSERT_NE(w, 0u);
    EXPECT_TRUE(messages.send(w, 1074, 1, 7)); // no event loop runs meanwhile
    EXPECT_EQ(received, (QList<Received>{{1074, 1, 7}}));
    EXPECT_TRUE(messages.post(w, 1076, 1, 0)); // through the event loop, as on Windows
    EXPECT_EQ(received.size(), 1);
    EXPECT_TRUE(processEventsUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received.last(), (Received{1076, 1, 0}));

    own.close();
    EXPECT_FALSE(messages.send(w, 1074, 1, 7));
    EXPECT_EQ(messages.findWindow(kFormTitle), 0u);
    EXPECT_FALSE(messages.send(0, 1074, 1, 7));
    EXPECT_FALSE(messages.post(0, 1076, 1, 0));
}

// A peer that writes garbage loses its connection; the window goes on answering everyone else.
TEST_F(MessagesTest, GarbageFromAPeerIsDroppedAndTheWindowGoesOnAnswering)
{
    QList<Received> received;
    LocalSocketEndpoint form;
    ASSERT_TRUE(form.open(kFormTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
    }));
    const QString name =
        suite::localsocket::serverNameFor(suite::localsocket::handleForTitle(kFormTitle));
    QByteArray unknownKind = suite::localsocket::encodeFrame({1076, {}, 1, 0});
    unknownKind[4] = 9;
    const QByteArray garbage[] = {QByteArray(24, '\xff'), unknownKind,
                                  QByteArray("GET / HTTP/1.0\r\n\r\nxxxxxxxx"),
                                  QByteArray(100000, '\0')};
    for (const QByteArray &bytes : garbage) {
        QLocalSocket peer;
        peer.connectToServer(name);
        ASSERT_TRUE(peer.waitForConnected(5000));
        peer.write(bytes);
        peer.flush();
        EXPECT_TRUE(processEventsUntil([&] {
            peer.waitForDisconnected(10);
            return peer.state() == QLocalSocket::UnconnectedState;
        })) << "the window kept a connection that sent garbage";
    }
    EXPECT_TRUE(received.isEmpty());

    QProcess sender;
    sender.start(QStringLiteral(STANDIN_PATH),
                 {QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("1")});
    EXPECT_TRUE(processEventsUntil([&] { return sender.state() == QProcess::NotRunning; }));
    EXPECT_EQ(sender.exitCode(), 0);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.first().message, 1074u);
    EXPECT_EQ(received.first().wParam, 1);
}

// Another user's process gets nothing through, whether the socket file or the window refuses it.
TEST_F(MessagesTest, AnotherUsersMessagesAreRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QList<Received> received;
    LocalSocketEndpoint form;
    ASSERT_TRUE(form.open(kFormTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
    }));
    const QByteArray path = QFile::encodeName(
        suite::localsocket::serverNameFor(suite::localsocket::handleForTitle(kFormTitle)));
    const QByteArray frame =
        suite::localsocket::encodeFrame({1074, suite::localsocket::FrameKind::Posted, 1, 0});
    // Let the other user reach the socket file, so that the window's own check is what refuses.
    ::chmod(QFile::encodeName(QFileInfo(QString::fromLocal8Bit(path)).path()).constData(), 0777);
    ::chmod(path.constData(), 0777);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::signal(SIGPIPE, SIG_IGN); // a hang-up shows as a failed write
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(),
                    std::min(size_t(path.size()), sizeof(address.sun_path) - 1));
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
            ::_exit(0); // refused at the door
        for (int i = 0; i < 50; ++i) {
            if (::write(fd, frame.constData(), size_t(frame.size())) < 0)
                ::_exit(3); // the window hung up
            ::usleep(20000);
        }
        ::_exit(1);
    }
    int status = 0;
    EXPECT_TRUE(processEventsUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "could not act as another user";
    EXPECT_NE(WEXITSTATUS(status), 1) << "the window kept listening to another user";
    QCoreApplication::processEvents();
    EXPECT_TRUE(received.isEmpty());
}

// Another user can neither hold the window's name nor the user's socket folder unnoticed: a
// socket of theirs at the name is not taken for another program of ours, and a folder of theirs
// where ours should be is refused with the reason, not used.
TEST_F(MessagesTest, AnotherUsersSocketOrFolderIsNeverTakenForOurs)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    const QString name =
        suite::localsocket::serverNameFor(suite::localsocket::handleForTitle(kFormTitle));
    m_planter = listenAsAnotherUser(QFile::encodeName(name));
    ASSERT_GT(m_planter, 0);
    QList<Received> received;
    LocalSocketEndpoint form;
    ASSERT_TRUE(form.open(kFormTitle, [&](quint32 message, qint64 wParam, qint64 lParam) {
        received.append({message, wParam, lParam});
    })) << form.errorString().toStdString();
    EXPECT_EQ(runStandin({QStringLiteral("--send"), QStringLiteral("1074"), QStringLiteral("1")}),
              0);
    EXPECT_EQ(received, (QList<Received>{{1074, 1, 0}}));
    form.close();

    const QString folder = QFileInfo(name).path();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    EXPECT_FALSE(form.open(kFormTitle, [](quint32, qint64, qint64) {}));
    EXPECT_FALSE(form.heldElsewhere());
    EXPECT_TRUE(form.errorString().contains(QStringLiteral("another user")))
        << form.errorString().toStdString();
}

// The runtime folder takes the sockets only when it is the user's own real folder, closed to
// others; otherwise the private folder in the temporary folder does.
TEST_F(MessagesTest, TheRuntimeFolderIsUsedOnlyWhenItIsTheUsersAlone)
{
    QTemporaryDir runtimes;
    const QString fallback = QStringLiteral("%1/nqm-%2").arg(QDir::tempPath()).arg(::getuid());
    const auto made = [&](const char *name, mode_t mode, uid_t owner) {
        const QByteArray path = QFile::encodeName(runtimes.path()) + '/' + name;
        const bool ok =
            ::mkdir(path, mode) == 0 && !::chmod(path, mode) && !::chown(path, owner, owner);
        return ok ? QFile::decodeName(path) : QString();
    };
    const QString own = made("own", 0700, ::getuid());
    ASSERT_TRUE(QFile::link(own, runtimes.path() + QStringLiteral("/link")));
    for (const auto &[runtime, used] : {std::pair{own, own},
                                        {made("open", 0755, ::getuid()), fallback},
                                        {runtimes.path() + QStringLiteral("/link"), fallback},
                                        {made("others", 0700, 65534), fallback}}) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        EXPECT_EQ(suite::localsocket::socketFolder(), used) << runtime.toStdString();
    }
    qunsetenv("XDG_RUNTIME_DIR");
}

TEST_F(MessagesTest, ManyQuickPostsArriveCompleteAndInOrder)
{
    constexpr int kPosts = 1000;
    startHeadlessStandin();
    LocalSocketMessages messages;
    const WindowHandle tutor = messages.findWindow(kTutorTitle);
    QStringList expected;
    for (int i = 0; i < kPosts; ++i) {
        ASSERT_TRUE(messages.post(tutor, 1076, i, -i));
        expected.append(QStringLiteral("received 1076 %1 %2").arg(i).arg(-i));
    }
    // The event loop writes what the receiver could not take at once.
    EXPECT_TRUE(processEventsUntil([&] { return standinLinesNow().size() >= kPosts; }));
    EXPECT_EQ(standinLinesNow(), expected);
}

TEST(FakeWindowMessagesTest, RecordsWhatReachesAnExistingWindow)
{
    FakeWindowMessages messages;
    messages.existing = {kTutorTitle};
    EXPECT_EQ(messages.findWindow(kFormTitle), 0u);
    const WindowHandle tutor = messages.findWindow(kTutorTitle);
    EXPECT_TRUE(messages.post(tutor, 1076, 1, 0));
    EXPECT_TRUE(messages.send(tutor, 1074, 0, 5));
    messages.existing.clear();
    EXPECT_FALSE(messages.post(tutor, 1077, 1, 0));
    using Kind = FakeWindowMessages::Kind;
    EXPECT_EQ(messages.messages,
              (QList<FakeWindowMessages::Message>{{Kind::Posted, kTutorTitle, 1076, 1, 0},
                                                  {Kind::Sent, kTutorTitle, 1074, 0, 5}}));
    EXPECT_EQ(messages.failedCalls, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
