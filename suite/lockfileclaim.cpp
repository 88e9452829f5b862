#include "lockfileclaim.h"

#include "messageendpoint.h"
#include "suitewindows.h"

#include "privatefolder.h"
#include "writelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef MONITOR_WINDOWS_LAYER
#include "win32messages.h"
#else
#include "localsocketendpoint.h"
#include "localsocketmessages.h"
#include "localsocketwire.h"
#endif

namespace suite {

namespace {

// Only forms exchange it, never the suite's other programs.
constexpr quint32 kComeForward = 1084;

QString fileKey(const QString &tutorFile)
{
    const QFileInfo info(tutorFile);
    const QString canonical = info.canonicalFilePath();
    const QByteArray path = (canonical.isEmpty() ? info.absoluteFilePath() : canonical).toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

#ifndef MONITOR_WINDOWS_LAYER
QString holderTitle(const QString &key)
{
    return windowTitle(SuiteWindow::MonitorForm) + QStringLiteral(" file ") + key;
}
#endif

} // namespace

TutorFileClaim::~TutorFileClaim() = default;

LockFileClaim::LockFileClaim(QString folder) : m_folder(std::move(folder)) {}

LockFileClaim::~LockFileClaim() = default;

TutorFileClaim::Outcome LockFileClaim::claim(const QString &tutorFile,
                                             std::function<void()> comeForward)
{
    m_error.clear();
    if (!monitorfile::makePrivateFolder(m_folder, m_error))
        return Outcome::NotClaimed;
    const QString key = fileKey(tutorFile);
    // A live form holds it however long it stays open.
    qint64 holder = 0;
    m_lock = monitorfile::processLockAt(
        m_folder + QStringLiteral("/form-") + key + QStringLiteral(".lock"), holder, m_error);
    if (!m_lock) {
        if (holder <= 0)
            return Outcome::NotClaimed; // cannot tell: open rather than refuse, and say so
        m_error.clear();
        return askHolder(key, holder) ? Outcome::BroughtForward : Outcome::HeldElsewhere;
    }
#ifdef MONITOR_WINDOWS_LAYER
    Q_UNUSED(comeForward); // a later form raises our window itself
#else
    m_endpoint = std::make_unique<LocalSocketEndpoint>();
    m_endpoint->open(holderTitle(key), [comeForward](quint32 message, qint64, qint64) {
        if (message == kComeForward && comeForward)
            comeForward();
    });
#endif
    return Outcome::Ours;
}

bool LockFileClaim::askHolder(const QString &key, qint64 holder)
{
#ifdef MONITOR_WINDOWS_LAYER
    Q_UNUSED(key);
    const winplatform::NativeWindow window = winplatform::findProcessWindow(
        holder, windowTitle(SuiteWindow::MonitorForm).toLocal8Bit().constData());
    winplatform::restoreAndRaise(window);
    return window != 0;
#else
    Q_UNUSED(holder);
    LocalSocketMessages messages(std::chrono::milliseconds(5000));
    return messages.send(messages.findWindow(holderTitle(key)), kComeForward, 0, 0);
#endif
}

std::unique_ptr<TutorFileClaim> createPlatformClaim()
{
    // Not the shared temporary folder, where another user could make the folder first.
    return std::make_unique<LockFileClaim>(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/RERODODUREVIDEDAZIREZ/forms"));
}

} // namespace suite
