#pragma once

#include <QByteArray>

namespace monitorfile {

// The comments keep "<", ">" and "&" out of the file's markup by storing them as the bytes 2, 3
// and 18. Both change the text in place and keep its length.
void EncodeMarkupChars(QByteArray &text);
void DecodeMarkupChars(QByteArray &text);

} // namespace monitorfile
