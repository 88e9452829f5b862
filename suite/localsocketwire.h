#pragma once

// The Linux stand-in for the suite's window messages, on local (Unix domain) sockets.
//
// Names: an open endpoint is a Unix-domain socket listening on the file
//     <socket folder>/nqm-<window handle as 16 hex digits>
// where the handle is the first 8 bytes of the SHA-1 of the title in UTF-8 (never 0). The socket
// folder is one only the user can enter, so that no other user can take a window's name first:
// $XDG_RUNTIME_DIR when it is the user's own and closed to others, else
// <temporary folder>/nqm-<user id>, created with mode 0700 and refused when it is a link or
// another user's. The name is short on purpose: a socket path over 107 bytes cannot be used.
// Programs that talk must share the socket folder; only the same user may connect, which both
// sides check as well.
//
// Frames: 24 bytes, little-endian, the same in both directions:
//     offset 0   quint32  message
//     offset 4   quint32  kind: 1 posted, 2 sent (an answer is expected), 3 answer
//     offset 8   qint64   wParam
//     offset 16  qint64   lParam
// A sender keeps one connection per receiver and writes both kinds on it, so that its messages
// arrive in the order given. The receiver answers a sent frame with the same frame as kind 3 once
// its handler has returned. Anything else ends the connection.

#include "windowmessages.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace suite::localsocket {

enum class FrameKind : quint32 { Posted = 1, Sent = 2, Answer = 3 };

struct Frame
{
    quint32 message = 0;
    FrameKind kind = FrameKind::Posted;
    qint64 wParam = 0;
    qint64 lParam = 0;
};

constexpr qint64 kFrameSize = 24;

QByteArray encodeFrame(const Frame &frame);
// Nothing for a wrong size or an unknown kind.
std::optional<Frame> decodeFrame(const QByteArray &bytes);
// The same message, answered.
bool answers(const Frame &answer, const Frame &sent);

WindowHandle handleForTitle(const QString &title);
// The user's socket folder, created when missing; empty, with the reason, when there is none
// that only the user can enter.
QString socketFolder(QString *reason = nullptr);
// The full path of the socket file of the window `w`; empty when there is no socket folder.
QString serverNameFor(WindowHandle w);
// True when the process at the other end of the connected socket runs as this user.
bool peerIsThisUser(qintptr socketDescriptor);

} // namespace suite::localsocket
