#include "markupchars.h"

namespace monitorfile {

namespace {
struct MarkupPair
{
    char character;
    char stored;
};
constexpr MarkupPair kPairs[] = {{'<', '\x02'}, {'>', '\x03'}, {'&', '\x12'}};
} // namespace

void EncodeMarkupChars(QByteArray &text)
{
    for (const MarkupPair &p : kPairs)
        text.replace(p.character, p.stored);
}

void DecodeMarkupChars(QByteArray &text)
{
    for (const MarkupPair &p : kPairs)
        text.replace(p.stored, p.character);
}

} // namespace monitorfile
