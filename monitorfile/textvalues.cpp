#include "textvalues.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace monitorfile {

namespace {

// Where text is left once its leading and trailing blanks are gone: begin and length.
template <typename Text> std::pair<qsizetype, qsizetype> unblanked(const Text &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return {begin, end - begin};
}

// A text kept whole is shared, not copied.
template <typename Text> Text trimmed(const Text &text)
{
    const auto [begin, length] = unblanked(text);
    return text.mid(begin, length);
}

template <typename View> View trimmedView(View text)
{
    const auto [begin, length] = unblanked(text);
    return text.sliced(begin, length);
}

bool isSkippedInNumber(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Collects the number's characters without the skipped blanks, in a form strtod reads.
std::string leadingNumber(const QByteArray &text)
{
    std::string number;
    enum class Stage { Sign, Integer, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    bool haveMantissaDigit = false;
    for (const char c : text) {
        if (isSkippedInNumber(c))
            continue;
        if (stage == Stage::Sign && (c == '+' || c == '-')) {
            number += c;
            stage = Stage::Integer;
        } else if (isDigit(c) && stage <= Stage::Fraction) {
            number += c;
            haveMantissaDigit = true;
            if (stage == Stage::Sign)
                stage = Stage::Integer;
        } else if (c == '.' && stage <= Stage::Integer) {
            number += c;
            stage = Stage::Fraction;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && haveMantissaDigit &&
                   stage <= Stage::Fraction) {
            number += 'e';
            stage = Stage::ExponentSign;
        } else if ((c == '+' || c == '-') && stage == Stage::ExponentSign) {
            number += c;
            stage = Stage::Exponent;
        } else if (isDigit(c) && stage >= Stage::ExponentSign) {
            number += c;
            stage = Stage::Exponent;
        } else {
            break;
        }
    }
    if (!haveMantissaDigit)
        return {};
    // An exponent marker without digits does not count.
    while (!number.empty() &&
           (number.back() == 'e' || number.back() == '+' || number.back() == '-'))
        number.pop_back();
    return number;
}

} // namespace

QByteArray trimBlanks(const QByteArray &text)
{
    return trimmed(text);
}

QString trimBlanks(const QString &text)
{
    return trimmed(text);
}

QByteArrayView blankTrimmed(QByteArrayView text)
{
    return trimmedView(text);
}

QStringView blankTrimmed(QStringView text)
{
    return trimmedView(text);
}

qint16 wholeNumberValue(const QByteArray &text)
{
    const std::string number = leadingNumber(text);
    if (number.empty())
        return 0;
    // from_chars ignores the process locale, which may use a decimal comma; it takes no '+'.
    const char *first = number.c_str() + (number.front() == '+' ? 1 : 0);
    double parsed = 0;
    const auto result = std::from_chars(first, number.c_str() + number.size(), parsed);
    if (result.ec == std::errc::result_out_of_range)
        parsed = number.find("e-") != std::string::npos ? 0.0
                 : first[0] == '-'                      ? -HUGE_VAL
                                                        : HUGE_VAL;
    else if (result.ec != std::errc())
        return 0;
    const double value = std::nearbyint(parsed); // halves to even
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(value < low ? low : value > high ? high : value);
}

} // namespace monitorfile
