#include "ansicodec.h"

#ifdef MONITOR_WINDOWS_LAYER
#include "win32codepage.h"
#endif

#include <QHash>
#include <QStringList>

#include <array>

namespace monitorfile {

namespace {

#ifdef MONITOR_WINDOWS_LAYER

// The system's own tables, through the Windows layer.
QString decodeBytes(const QByteArray &bytes)
{
    return QString::fromStdWString(winplatform::decodeAnsi(bytes.toStdString()));
}

bool appendBytes(QStringView text, QByteArray &out)
{
    const auto bytes = winplatform::encodeAnsi(text.toString().toStdWString());
    if (!bytes)
        return false;
    out.append(bytes->data(), qsizetype(bytes->size()));
    return true;
}

#else

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

QString decodeBytes(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = QChar(characterOf(static_cast<unsigned char>(b)));
    return text;
}

bool appendBytes(QStringView text, QByteArray &out)
{
    const auto &table = byteOfCharacter();
    // Every character that has a byte is one unit, so the bytes are exactly as many; writing
    // them in place spares an out-of-line append per character.
    const qsizetype was = out.size();
    out.resize(was + text.size());
    char *next = out.data() + was;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            *next++ = static_cast<char>(c.unicode());
            continue;
        }
        const auto found = table.constFind(c.unicode());
        if (found == table.cend()) {
            out.truncate(was);
            return false;
        }
        *next++ = *found;
    }
    return true;
}

#endif

std::optional<QByteArray> encodeText(const QString &text)
{
    QByteArray bytes;
    if (!appendBytes(text, bytes))
        return std::nullopt;
    return bytes;
}

// The characters of `text` that have no byte, each once, in order of appearance.
QString unencodableCharacters(const QString &text)
{
    QStringList missing;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character outside the basic plane is one unit pair; name it whole.
        const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, units);
        if (!encodeText(character) && !missing.contains(character))
            missing += character;
        i += units - 1;
    }
    return missing.join(QLatin1Char(' '));
}

} // namespace

QString decodeAnsi(const QByteArray &bytes)
{
    return decodeBytes(bytes);
}

bool appendAnsi(QStringView text, QByteArray &out)
{
    return appendBytes(text, out);
}

std::optional<QByteArray> encodeAnsi(const QString &text, QString *unencodable)
{
    std::optional<QByteArray> bytes = encodeText(text);
    if (!bytes && unencodable)
        *unencodable = unencodableCharacters(text);
    return bytes;
}

} // namespace monitorfile
