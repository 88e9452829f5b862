#include "checkoptions.h"

namespace spelling {

int optionIndex(const QString &name)
{
    for (int i = 0; i < kOptionCount; ++i) {
        if (name == QLatin1String(kOptionNames[i]))
            return i;
    }
    return -1;
}

// Until the program sets them: what a first start of the suite applies.
CheckOptions::CheckOptions()
    : m_values{true, true, true, true, false, true, true, true, false, true, true}
{
}

} // namespace spelling
