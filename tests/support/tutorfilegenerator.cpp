#include "tutorfilegenerator.h"

namespace {

QByteArray element(const QByteArray &name, const QByteArray &value, const QByteArray &indent)
{
    return indent + '<' + name + '>' + value + "</" + name + ">\r\n";
}

QByteArray studentBlock(int i, const GeneratedFileOptions &options)
{
    const QByteArray nl = options.compactStudentList ? QByteArray() : QByteArray("\r\n");
    const QByteArray in = options.compactStudentList ? QByteArray() : QByteArray("    ");
    auto e = [&](const QByteArray &name, const QByteArray &value) {
        return in + '<' + name + '>' + value + "</" + name + '>' + nl;
    };
    QByteArray b = "<student_details>" + nl;
    b += e("student_forenames", "Forename" + QByteArray::number(i));
    b += e("student_surname", "Surname" + QByteArray::number(i));
    b += e("student_personal_id", generatedStudentId(i));
    b += e("student_sent_date", "03-Nov-2026");
    b += e("tutor_received_date", "05-Nov-2026");
    b += e("tarnwick_received_date", "20-Nov-2026");
    b += in + "<student_monitoring_details>" + nl;
    b += e("annotated", "Y");
    b += e("student_completed", "N");
    b += e("marking", i % 2 ? "Appropriate" : "");
    b += e("script_commenting", i % 3 ? "Good (G)" : "");
    b += e("pt3_commenting", "");
    b += in + "</student_monitoring_details>" + nl;
    b += in + "<file_list>";
    for (int f = 0; f < options.filesPerStudent; ++f) {
        b += "<file_details><file_name>" + generatedStudentId(i) + "_part" +
             QByteArray::number(f + 1) +
             ".doc</file_name><file_annotated>Y</file_annotated>"
             "</file_details>";
    }
    b += "</file_list>" + nl;
    b += "</student_details>";
    return b;
}

} // namespace

QByteArray generatedStudentId(int i)
{
    return 'X' + QByteArray::number(1000000 + i);
}

QByteArray generateTutorFile(const GeneratedFileOptions &options)
{
    const QByteArray in = "  ";
    QByteArray t = "<tutor_monitoring_file>\r\n";
    t += element("tutor_forenames", "Alex", in);
    t += element("tutor_surname", "Marchetti", in);
    t += element("staff_id", "00561234", in);
    t += element("tutor_status", "Active", in);
    t += element("locn_code", "04", in);
    t += element("new_tutor", "No", in);
    t += element("number_scripts", QByteArray::number(options.students), in);
    t += in + "<zip_details>\r\n";
    t += element("zip_date", "01-Dec-2026", in + in);
    t += element("zip_filename", "M101_05B_02.zip", in + in);
    t += in + "</zip_details>\r\n";
    t += element("course_code", "M101", in);
    t += element("pres_code", "05B", in);
    t += element("assgnmt_suffix", "02", in);
    t += element("assgnmt_cut_off_date", "24-Nov-2026", in);
    t += element("monitoring_type", "Standard", in);
    t += in + "<monitoring_details>\r\n";
    t += element("monitoring_level_code", "2", in + in);
    t += element("monitor_comments", "", in + in);
    t += element("monitor_comment_date", "", in + in);
    t += element("monitor_collect_date", "02-Dec-2026", in + in);
    for (int f = 1; f <= 15; ++f)
        t += element("flag" + QByteArray::number(f), "", in + in);
    t += element("previous_monitor_forms", "", in + in);
    t += in + "</monitoring_details>\r\n";
    t += in + "<student_list>";
    for (int i = 0; i < options.students; ++i) {
        if (!options.compactStudentList)
            t += "\r\n";
        t += studentBlock(i, options);
    }
    t += options.compactStudentList ? QByteArray() : QByteArray("\r\n  ");
    t += "</student_list>\r\n";
    t += in + "<system_details>\r\n";
    t += element("download_exe_name", "QuilletDownload.exe", in + in);
    t += element("version_num", "4.2", in + in);
    t += element("basic_monitor_form_name", "basic_monitor_form.rtf", in + in);
    t += element("basic_monitor_form_path", "C:\\Quillet\\Forms", in + in);
    t += in + "</system_details>\r\n";
    t += in + "<preferences>\r\n  </preferences>\r\n";
    t += "</tutor_monitoring_file>\r\n";
    return t;
}
