#pragma once

#include <QString>

namespace monitorfile {

// Makes `path` a folder only this user can enter, for what other users of the machine must not
// read or plant (unsaved work, message sockets). A missing folder is created (parents included)
// with mode 0700 whatever the umask; an existing one must be a real folder, not a link, owned by
// this user, and is closed to others (chmod 0700) when it was open to them. False with the reason
// when the folder is not the user's own or cannot be made private. Off POSIX systems the folder is
// only created: the user's profile folders are closed to others there.
bool makePrivateFolder(const QString &path, QString &reason);

// True when `path` is already a folder as makePrivateFolder leaves it, without changing anything.
bool isPrivateFolder(const QString &path);

} // namespace monitorfile
