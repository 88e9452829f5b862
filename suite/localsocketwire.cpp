#include "localsocketwire.h"

#include "privatefolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QtEndian>

#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace suite::localsocket {

QByteArray encodeFrame(const Frame &frame)
{
    QByteArray bytes(kFrameSize, '\0');
    uchar *out = reinterpret_cast<uchar *>(bytes.data());
    qToLittleEndian<quint32>(frame.message, out);
    qToLittleEndian<quint32>(static_cast<quint32>(frame.kind), out + 4);
    qToLittleEndian<qint64>(frame.wParam, out + 8);
    qToLittleEndian<qint64>(frame.lParam, out + 16);
    return bytes;
}

std::optional<Frame> decodeFrame(const QByteArray &bytes)
{
    if (bytes.size() != kFrameSize)
        return std::nullopt;
    const uchar *in = reinterpret_cast<const uchar *>(bytes.constData());
    const quint32 kind = qFromLittleEndian<quint32>(in + 4);
    if (kind < static_cast<quint32>(FrameKind::Posted) ||
        kind > static_cast<quint32>(FrameKind::Answer))
        return std::nullopt;
    Frame frame;
    frame.message = qFromLittleEndian<quint32>(in);
    frame.kind = static_cast<FrameKind>(kind);
    frame.wParam = qFromLittleEndian<qint64>(in + 8);
    frame.lParam = qFromLittleEndian<qint64>(in + 16);
    return frame;
}

bool answers(const Frame &answer, const Frame &sent)
{
    return answer.kind == FrameKind::Answer && answer.message == sent.message &&
           answer.wParam == sent.wParam && answer.lParam == sent.lParam;
}

WindowHandle handleForTitle(const QString &title)
{
    const QByteArray digest = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1);
    WindowHandle handle = 0;
    std::memcpy(&handle, digest.constData(), sizeof(handle));
    return handle != 0 ? handle : 1;
}

QString socketFolder(QString *reason)
{
    // The runtime folder is the user's own by definition; one that is not is not used, nor
    // changed: it belongs to the session.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (monitorfile::isPrivateFolder(runtime))
        return runtime;
    const QString folder = QStringLiteral("%1/nqm-%2").arg(QDir::tempPath()).arg(::getuid());
    QString why;
    if (monitorfile::makePrivateFolder(folder, why))
        return folder;
    if (reason)
        *reason = why;
    return QString();
}

QString serverNameFor(WindowHandle w)
{
    const QString folder = socketFolder();
    if (folder.isEmpty())
        return QString();
    return QStringLiteral("%1/nqm-%2")
        .arg(folder)
        .arg(static_cast<qulonglong>(w), int(2 * sizeof(WindowHandle)), 16, QLatin1Char('0'));
}

bool peerIsThisUser(qintptr socketDescriptor)
{
    struct ucred credentials = {};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials,
                     &size) != 0)
        return false;
    return credentials.uid == ::getuid();
}

} // namespace suite::localsocket
