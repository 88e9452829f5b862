#pragma once

#include <QString>
#include <QStringList>

// Whether a file name is that of a previous monitor form: "TMA" in any case, then the one or two
// characters from the fourth on, which must not be blank and must all be digits. "TMA01 monitor
// form.doc" and "tma03.rtf" are; "TMA1.doc", "TMA 1.doc" and "TMA.doc" are not.
bool isPreviousMonitorFormName(const QString &name);

// The previous monitor forms among the ordinary files of folder (no folders, no hidden or
// system files), bare names in the order the folder listing gives them.
QStringList listPreviousMonitorForms(const QString &folder);
