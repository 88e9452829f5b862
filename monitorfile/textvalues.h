#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace monitorfile {

// Removes leading and trailing blanks (the space character only; tabs and line breaks stay), as
// the suite's other programs trim values.
QByteArray trimBlanks(const QByteArray &text);
QString trimBlanks(const QString &text);
// The same, as a view into text.
QByteArrayView blankTrimmed(QByteArrayView text);
QStringView blankTrimmed(QStringView text);

// The leading numeric value of a text rounded to a 16-bit integer: blanks, tabs and line feeds
// are skipped anywhere in the number, a sign, digits, a fraction and an exponent (E or D) are
// taken, anything else ends it. No number gives 0; halves round to even; values outside the
// 16-bit range are clamped to it.
qint16 wholeNumberValue(const QByteArray &text);

} // namespace monitorfile
