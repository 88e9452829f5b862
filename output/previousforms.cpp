#include "previousforms.h"

#include "tagsearch.h"

#include <QDir>

#include <algorithm>

bool isPreviousMonitorFormName(const QString &name)
{
    if (name.left(3).toUpper() != QLatin1String("TMA"))
        return false;
    const QString number = name.mid(3, 2);
    const bool blank =
        std::all_of(number.cbegin(), number.cend(), [](QChar c) { return c == u' '; });
    if (blank) // an empty text is all blanks too
        return false;
    return monitorfile::IsAllDigits(number) == 1;
}

QStringList listPreviousMonitorForms(const QString &folder)
{
    // Windows lists a folder in name order without regard to case; other systems list it in an
    // order of their own, so the same order is asked for there.
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot,
                                                     QDir::Name | QDir::IgnoreCase);
    QStringList forms;
    for (const QString &name : names) {
        if (isPreviousMonitorFormName(name))
            forms << name;
    }
    return forms;
}
