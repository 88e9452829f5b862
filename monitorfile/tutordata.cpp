#include "tutordata.h"

#include "textvalues.h"

namespace monitorfile {

QList<QByteArray> flagNames()
{
    QList<QByteArray> names;
    for (int i = 1; i <= kFlagCount; ++i)
        names.append("flag" + QByteArray::number(i));
    return names;
}

QByteArray derivedName(const QByteArray &surname, const QByteArray &forenames)
{
    return trimBlanks(surname) + ", " + trimBlanks(forenames);
}

QList<NamedField> tutorFields(const TutorRecord &r)
{
    QList<NamedField> fields = {
        {"tutor_forenames", r.tutor_forenames},
        {"tutor_surname", r.tutor_surname},
        {"tutor_name", r.tutor_name},
        {"staff_id", r.staff_id},
        {"tutor_status", r.tutor_status},
        {"locn_code", r.locn_code},
        {"new_tutor", r.new_tutor},
        {"number_scripts", int(r.number_scripts)},
        {"zip_date", r.zip_date},
        {"zip_filename", r.zip_filename},
        {"course_code", r.course_code},
        {"pres_code", r.pres_code},
        {"assgnmt_suffix", r.assgnmt_suffix},
        {"assgnmt_cut_off_date", r.assgnmt_cut_off_date},
        {"monitoring_type", r.monitoring_type},
        {"monitoring_level_code", r.monitoring_level_code},
        {"monitor_comments", r.monitor_comments},
        {"monitor_collect_date", r.monitor_collect_date},
    };
    const QList<QByteArray> flags = flagNames();
    for (int i = 0; i < kFlagCount; ++i)
        fields.append({flags[i], r.flags[i]});
    fields += QList<NamedField>{
        {"download_exe_name", r.download_exe_name},
        {"version_num", r.version_num},
        {"basic_monitor_form_name", r.basic_monitor_form_name},
        {"basic_monitor_form_path", r.basic_monitor_form_path},
        {"file_title", r.file_title},
        {"file_path", r.file_path},
        {"previous_monitor_forms", r.previous_monitor_forms},
    };
    return fields;
}

QList<NamedField> studentFields(const StudentRecord &s)
{
    return {
        {"student_forenames", s.student_forenames},
        {"student_surname", s.student_surname},
        {"student_name", s.student_name},
        {"student_personal_id", s.student_personal_id},
        {"student_sent_date", s.student_sent_date},
        {"tutor_received_date", s.tutor_received_date},
        {"tarnwick_received_date", s.tarnwick_received_date},
        {"annotated", s.annotated},
        {"student_completed", s.student_completed},
        {"marking", s.marking},
        {"script_commenting", s.script_commenting},
        {"pt3_commenting", s.pt3_commenting},
    };
}

} // namespace monitorfile
