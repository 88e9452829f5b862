#pragma once

#include "suitepath.h"

#include <QString>

// Where the fuzz targets keep the file: a tutor folder and the title the suite passes.
inline QString fuzzFolder()
{
    return QStringLiteral("/tutor");
}

inline QString fuzzTitle()
{
    return QStringLiteral("\\monitor.fhi");
}

inline QString fuzzFilePath()
{
    return monitorfile::suiteFilePath(fuzzFolder(), fuzzTitle());
}
