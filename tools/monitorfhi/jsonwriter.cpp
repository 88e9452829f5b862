#include "jsonwriter.h"

namespace {

QByteArray quoted(const QString &text)
{
    QByteArray out = "\"";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        switch (c) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
                out += "\\u" + QByteArray::number(c, 16).rightJustified(4, '0');
            } else {
                // A pair of surrogates is one character: encode both together.
                const qsizetype units = text.at(i).isHighSurrogate() ? 2 : 1;
                out += text.mid(i, units).toUtf8();
                i += units - 1;
            }
        }
    }
    return out + '"';
}

} // namespace

void JsonWriter::prefix(const char *key)
{
    if (!m_first)
        m_out += ',';
    if (m_depth > 0)
        m_out += '\n' + QByteArray(2 * m_depth, ' ');
    if (key)
        m_out += quoted(QString::fromLatin1(key)) + ": ";
    m_first = false;
}

void JsonWriter::open(const char *key, char bracket)
{
    prefix(key);
    m_out += bracket;
    ++m_depth;
    m_first = true;
}

void JsonWriter::close(char bracket)
{
    --m_depth;
    if (!m_first)
        m_out += '\n' + QByteArray(2 * m_depth, ' ');
    m_out += bracket;
    m_first = false;
}

void JsonWriter::value(const char *key, const QString &text)
{
    prefix(key);
    m_out += quoted(text);
}

void JsonWriter::value(const char *key, int number)
{
    prefix(key);
    m_out += QByteArray::number(number);
}
