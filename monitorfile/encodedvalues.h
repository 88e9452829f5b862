#pragma once

#include "monitorsave.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace monitorfile {

enum class StudentField { PersonalId, Marking, SummaryFeedback, ScriptComments };

// Every value of a form as the file stores it (trimmed, in its code page; the comments with
// CR LF line breaks and their markup characters replaced), all in one buffer: a save encodes
// each value once and splices it from there.
class EncodedValues
{
public:
    // False when some value does not fit the code page; its characters then go to unencodable,
    // each once, in order of appearance.
    bool encode(const MonitorFormValues &values, QString &unencodable);

    QByteArrayView flag(int i) const { return value(i); }
    QByteArrayView comments() const { return value(kFlagCount); }
    QByteArrayView commentDate() const { return value(kFlagCount + 1); }
    int studentCount() const { return int(m_ends.size() - kSingles) / kStudentFields; }
    QByteArrayView student(int row, StudentField field) const
    {
        return value(kSingles + row * kStudentFields + int(field));
    }

private:
    static constexpr int kSingles = kFlagCount + 2;
    static constexpr int kStudentFields = 4;

    QByteArrayView value(int index) const;
    void add(const QString &text, QStringList &unencodable);

    QByteArray m_bytes;
    std::vector<qsizetype> m_ends; // where each value ends in m_bytes, in the order above
};

} // namespace monitorfile
