#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace monitorfile {

// The file holds one byte per character in the Windows ANSI code page. These convert between
// those bytes and text at the display edge: with the system's code page on Windows, and with
// Windows-1252 elsewhere. Every byte has a character (the five bytes 1252 leaves undefined map to
// the C1 controls, as Windows does), so bytes -> text -> bytes gives back the same bytes.
QString decodeAnsi(const QByteArray &bytes);

// Returns the bytes, or nothing when some characters have no byte; those characters are then
// listed once each, in order of appearance and separated by blanks, in unencodable.
std::optional<QByteArray> encodeAnsi(const QString &text, QString *unencodable = nullptr);

// Appends the bytes of text to out; false, and out as it was, when some character has no byte.
bool appendAnsi(QStringView text, QByteArray &out);

} // namespace monitorfile
