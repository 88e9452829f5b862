#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <variant>
#include <vector>

namespace monitorfile {

// Values are the file's bytes as they stand between the tags (one byte per character), except
// the derived names, which trim their parts, and monitor_comments, which is decoded.
struct StudentRecord
{
    QByteArray student_forenames;
    QByteArray student_surname;
    QByteArray student_name;
    QByteArray student_personal_id;
    QByteArray student_sent_date;
    QByteArray tutor_received_date;
    QByteArray tarnwick_received_date;
    QByteArray annotated;
    QByteArray student_completed;
    QByteArray marking;
    QByteArray script_commenting;
    QByteArray pt3_commenting;
};

constexpr int kFlagCount = 15;

struct TutorRecord
{
    QByteArray tutor_forenames;
    QByteArray tutor_surname;
    QByteArray tutor_name;
    QByteArray staff_id;
    QByteArray tutor_status;
    QByteArray locn_code;
    QByteArray new_tutor;
    qint16 number_scripts = 0;
    QByteArray zip_date;
    QByteArray zip_filename;
    QByteArray course_code;
    QByteArray pres_code;
    QByteArray assgnmt_suffix;
    QByteArray assgnmt_cut_off_date;
    QByteArray monitoring_type;
    QByteArray monitoring_level_code;
    QByteArray monitor_comments;
    QByteArray monitor_collect_date;
    std::array<QByteArray, kFlagCount> flags; // flag1 to flag15
    std::vector<StudentRecord> students;      // the student blocks read, in file order
    QByteArray download_exe_name;
    QByteArray version_num;
    QByteArray basic_monitor_form_name;
    QByteArray basic_monitor_form_path;
    QString file_title; // as passed to the reader: "\monitor.fhi"
    QString file_path;  // the tutor folder
    QByteArray previous_monitor_forms;
};

// The model of one tutor monitoring file.
struct TutorData
{
    bool fileFound = false; // false: no file, nothing read
    TutorRecord record;
    QByteArray NumberScriptsText; // the raw text of number_scripts
};

// "flag1" to "flag15".
QList<QByteArray> flagNames();

// "surname, forenames" from the trimmed parts.
QByteArray derivedName(const QByteArray &surname, const QByteArray &forenames);

// Field names and values in the record's order, for tools and tests. Students are not listed.
using FieldValue = std::variant<QByteArray, QString, int>;
struct NamedField
{
    QByteArray name;
    FieldValue value;
};
QList<NamedField> tutorFields(const TutorRecord &record);
QList<NamedField> studentFields(const StudentRecord &student);

} // namespace monitorfile
