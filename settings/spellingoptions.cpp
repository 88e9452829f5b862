#include "spellingoptions.h"

namespace settings {

namespace {

int indexOf(const QString &name)
{
    for (int i = 0; i < kSpellingOptionCount; ++i) {
        if (name == QLatin1String(kSpellingOptions[i].name))
            return i;
    }
    return -1;
}

} // namespace

SpellingOptions::SpellingOptions()
{
    for (int i = 0; i < kSpellingOptionCount; ++i)
        m_values[i] = kSpellingOptions[i].defaultValue;
}

bool SpellingOptions::set(const QString &name, bool value)
{
    const int i = indexOf(name);
    if (i < 0)
        return false;
    m_values[i] = value;
    return true;
}

bool SpellingOptions::value(const QString &name) const
{
    const int i = indexOf(name);
    return i >= 0 && m_values[i];
}

bool parseBooleanText(const QString &text, bool &value)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("-1")) {
        value = true;
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0")) {
        value = false;
        return true;
    }
    return false;
}

} // namespace settings
