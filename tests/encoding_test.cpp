#include "ansicodec.h"
#include "markupchars.h"

#include <gtest/gtest.h>

using namespace monitorfile;

namespace {

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

} // namespace

TEST(AnsiCodec, EveryByteSurvivesDecodeAndEncode)
{
    const QByteArray bytes = allBytes();
    const QString text = decodeAnsi(bytes);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(encodeAnsi(text), bytes);
}

TEST(AnsiCodec, UsesTheWindowsCodePage)
{
    EXPECT_EQ(decodeAnsi("\x80\x92\xe9\x9f"), QStringLiteral("\u20ac\u2019\u00e9\u0178"));
    EXPECT_EQ(encodeAnsi(QStringLiteral("\u20ac\u00a3")), QByteArray("\x80\xa3"));
}

TEST(AnsiCodec, NamesEachCharacterItCannotEncodeOnce)
{
    QString missing;
    const QString text = QStringLiteral("a\u015b b \U0001F600 \u015b \u20ac");
    EXPECT_FALSE(encodeAnsi(text, &missing).has_value());
    EXPECT_EQ(missing, QStringLiteral("\u015b \U0001F600"));
}

TEST(MarkupChars, EncodeAndDecodeInPlace)
{
    QByteArray text = "a<b>&c\x02";
    EncodeMarkupChars(text);
    EXPECT_EQ(text, QByteArray("a\x02"
                               "b\x03\x12"
                               "c\x02"));
    DecodeMarkupChars(text);
    EXPECT_EQ(text, QByteArray("a<b>&c<"));
}

TEST(MarkupChars, OtherBytesUnchanged)
{
    QByteArray text = allBytes();
    text.replace('<', ' ').replace('>', ' ').replace('&', ' ');
    text.replace('\x02', ' ').replace('\x03', ' ').replace('\x12', ' ');
    const QByteArray before = text;
    EncodeMarkupChars(text);
    EXPECT_EQ(text, before);
    DecodeMarkupChars(text);
    EXPECT_EQ(text, before);
}
