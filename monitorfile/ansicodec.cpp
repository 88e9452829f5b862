#include "ansicodec.h"

#include <QHash>
#include <QStringList>

#include <array>

namespace monitorfile {

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t characterOf(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t(byte);
}

const QHash<char16_t, char> &byteOfCharacter()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0; b < 256; ++b)
            t.insert(characterOf(static_cast<unsigned char>(b)), static_cast<char>(b));
        return t;
    }();
    return table;
}

} // namespace

QString decodeAnsi(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = QChar(characterOf(static_cast<unsigned char>(b)));
    return text;
}

std::optional<QByteArray> encodeAnsi(const QString &text, QString *unencodable)
{
    const auto &table = byteOfCharacter();
    QByteArray bytes;
    bytes.reserve(text.size());
    QStringList missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            bytes.append(static_cast<char>(c));
            continue;
        }
        const auto found = table.constFind(c);
        if (found != table.cend()) {
            bytes.append(*found);
            continue;
        }
        // A character outside the basic plane is one unit pair; name it whole.
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, units);
        if (!missing.contains(character))
            missing += character;
        i += units - 1;
    }
    if (!missing.isEmpty()) {
        if (unencodable)
            *unencodable = missing.join(QLatin1Char(' '));
        return std::nullopt;
    }
    return bytes;
}

} // namespace monitorfile
