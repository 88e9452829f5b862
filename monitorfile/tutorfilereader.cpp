#include "tutorfilereader.h"

#include "deferredmessages.h"
#include "fileoperations.h"
#include "markupchars.h"
#include "messages.h"
#include "messagetexts.h"
#include "safewrite.h"
#include "studentlist.h"
#include "suitepath.h"
#include "tagsearch.h"
#include "textvalues.h"

#include <QByteArrayList>

namespace monitorfile {

namespace {

// One run of reads: only its first missing element is reported, the later reads go on quietly.
// A missing end tag means a damaged file, which must not be rewritten.
class Run
{
public:
    Run(MessagePresenter &messages, ReadReport &report) : m_messages(messages), m_report(report) {}

    bool read(const QByteArray &name, QByteArray &contents, QByteArray &value)
    {
        QByteArray missing;
        if (extractElementReporting(tagsOf(name), contents, value, missing) == 0)
            return true;
        if (missing.startsWith("</"))
            m_report.malformed = true;
        if (m_firstMissing.isEmpty()) {
            m_firstMissing = missing;
            m_messages.show(texts::missingElement(missing));
        }
        m_lastMissing = missing;
        return false;
    }

    // A block that is cut apart and put back needs both its tags: its absence is always named,
    // even when the run has reported another element already.
    bool readBlock(const QByteArray &name, QByteArray &contents, QByteArray &value)
    {
        if (read(name, contents, value))
            return true;
        m_report.malformed = true;
        if (m_lastMissing != m_firstMissing)
            m_messages.show(texts::missingElement(m_lastMissing));
        return false;
    }

private:
    MessagePresenter &m_messages;
    ReadReport &m_report;
    QByteArray m_firstMissing;
    QByteArray m_lastMissing;
};

class TutorFileReader
{
public:
    TutorFileReader(QByteArray text, TutorRecord &record, QByteArray &numberScriptsText,
                    MessagePresenter &messages, ReadReport &report)
        : m_text(std::move(text)), m_record(record), m_numberScriptsText(numberScriptsText),
          m_messages(messages), m_report(report)
    {
    }

    QByteArray readAll()
    {
        readTutor();
        readZip();
        readMonitoring();
        readStudents();
        readSystem();
        return m_text;
    }

private:
    Run newRun() { return Run(m_messages, m_report); }

    void reportMalformed(const QByteArray &tag)
    {
        m_report.malformed = true;
        m_messages.show(texts::missingElement(tag));
    }

    // Expands the empty forms of the given elements inside block and, when that changed it,
    // puts it back into container between the block's tags.
    static void normaliseBlock(QByteArray &container, const char *blockName, QByteArray &block,
                               const QByteArrayList &elements)
    {
        const qsizetype before = block.size();
        for (const QByteArray &name : elements) {
            const ElementTags tags = tagsOf(name);
            ReformatXmlFileData(block, tags.start, tags.end);
        }
        if (block.size() == before)
            return;
        const ElementSpan span = locateElement(container, tagsOf(blockName));
        if (span.found())
            container = spliceElement(container, span, block);
    }

    void readTutor()
    {
        Run run = newRun();
        TutorRecord &r = m_record;
        run.read("tutor_forenames", m_text, r.tutor_forenames);
        run.read("tutor_surname", m_text, r.tutor_surname);
        r.tutor_name = derivedName(r.tutor_surname, r.tutor_forenames);
        run.read("staff_id", m_text, r.staff_id);
        run.read("tutor_status", m_text, r.tutor_status);
        run.read("locn_code", m_text, r.locn_code);
        run.read("new_tutor", m_text, r.new_tutor);
        run.read("number_scripts", m_text, m_numberScriptsText);
        r.number_scripts = wholeNumberValue(m_numberScriptsText);
        run.readBlock("zip_details", m_text, m_zipBlock);
    }

    void readZip()
    {
        normaliseBlock(m_text, "zip_details", m_zipBlock, {"zip_date", "zip_filename"});
        Run run = newRun();
        TutorRecord &r = m_record;
        run.read("zip_date", m_text, r.zip_date);
        run.read("zip_filename", m_text, r.zip_filename);
        run.read("course_code", m_text, r.course_code);
        run.read("pres_code", m_text, r.pres_code);
        run.read("assgnmt_suffix", m_text, r.assgnmt_suffix);
        run.read("assgnmt_cut_off_date", m_text, r.assgnmt_cut_off_date);
        run.read("monitoring_type", m_text, r.monitoring_type);
        run.readBlock("monitoring_details", m_text, m_monitoringBlock);
    }

    void readMonitoring()
    {
        QByteArrayList names = {"monitoring_level_code", "monitor_comments", "monitor_comment_date",
                                "monitor_collect_date"};
        names += flagNames();
        names += "previous_monitor_forms";
        normaliseBlock(m_text, "monitoring_details", m_monitoringBlock, names);

        Run run = newRun();
        TutorRecord &r = m_record;
        run.read("monitoring_level_code", m_text, r.monitoring_level_code);
        if (run.read("monitor_comments", m_text, r.monitor_comments))
            DecodeMarkupChars(r.monitor_comments);
        run.read("monitor_collect_date", m_text, r.monitor_collect_date);
        const QByteArrayList flags = flagNames();
        for (int i = 0; i < kFlagCount; ++i)
            run.read(flags[i], m_text, r.flags[i]);
        run.read("previous_monitor_forms", m_text, r.previous_monitor_forms);
    }

    void readStudents()
    {
        QByteArray list;
        Run run = newRun();
        if (!run.readBlock("student_list", m_text, list))
            return;
        const ElementSpan listSpan = locateElement(m_text, tagsOf("student_list"));
        const int count = qMax<int>(0, wholeNumberValue(m_numberScriptsText));
        StudentListCut cut = cutStudentList(list, count);
        if (!cut.missingTag.isEmpty())
            reportMalformed(cut.missingTag);

        QByteArray text = m_text.left(listSpan.valueBegin);
        for (QByteArray &block : cut.blocks) {
            m_record.students.push_back(readStudent(block));
            text += block;
        }
        text += cut.extras;
        text += m_text.mid(listSpan.endTag);
        m_text = text;
    }

    StudentRecord readStudent(QByteArray &block)
    {
        StudentRecord s;
        Run first = newRun();
        first.read("student_forenames", block, s.student_forenames);
        first.read("student_surname", block, s.student_surname);
        s.student_name = derivedName(s.student_surname, s.student_forenames);
        first.read("student_personal_id", block, s.student_personal_id);
        first.read("student_sent_date", block, s.student_sent_date);
        first.read("tutor_received_date", block, s.tutor_received_date);
        first.read("tarnwick_received_date", block, s.tarnwick_received_date);
        QByteArray monitoringBlock;
        first.readBlock("student_monitoring_details", block, monitoringBlock);
        normaliseBlock(
            block, "student_monitoring_details", monitoringBlock,
            {"annotated", "student_completed", "marking", "script_commenting", "pt3_commenting"});

        Run second = newRun();
        second.read("annotated", block, s.annotated);
        second.read("student_completed", block, s.student_completed);
        second.read("marking", block, s.marking);
        second.read("script_commenting", block, s.script_commenting);
        second.read("pt3_commenting", block, s.pt3_commenting);

        readFileList(block);
        return s;
    }

    // The student's files are checked and tidied, not kept.
    void readFileList(QByteArray &block)
    {
        static const ElementTags fileTags = tagsOf("file_details");
        QByteArray files;
        bool anyFile = false;
        qsizetype from = 0;
        for (;;) {
            const ElementSpan span = locateElement(block, fileTags, from);
            if (span.start < 0)
                break;
            if (!span.found()) {
                reportMalformed(span.missingTag);
                return;
            }
            QByteArray fileBlock = block.mid(span.start, span.end - span.start);
            from = span.end;
            for (const QByteArray &name : {QByteArray("file_name"), QByteArray("file_annotated")}) {
                const ElementTags tags = tagsOf(name);
                ReformatXmlFileData(fileBlock, tags.start, tags.end);
            }
            Run run = newRun();
            QByteArray ignored;
            run.read("file_annotated", fileBlock, ignored);
            run.read("file_name", fileBlock, ignored);
            files += fileBlock;
            anyFile = true;
        }
        if (!anyFile)
            return;
        const ElementSpan listSpan = locateElement(block, tagsOf("file_list"));
        if (!listSpan.found()) {
            reportMalformed(listSpan.missingTag);
            return;
        }
        block = spliceElement(block, listSpan, files);
    }

    void readSystem()
    {
        QByteArray block;
        Run blockRun = newRun();
        blockRun.readBlock("system_details", m_text, block);
        normaliseBlock(m_text, "system_details", block,
                       {"download_exe_name", "version_num", "basic_monitor_form_name",
                        "basic_monitor_form_path"});
        Run run = newRun();
        TutorRecord &r = m_record;
        run.read("download_exe_name", m_text, r.download_exe_name);
        run.read("version_num", m_text, r.version_num);
        run.read("basic_monitor_form_name", m_text, r.basic_monitor_form_name);
        run.read("basic_monitor_form_path", m_text, r.basic_monitor_form_path);
    }

    QByteArray m_text;
    TutorRecord &m_record;
    QByteArray &m_numberScriptsText;
    MessagePresenter &m_messages;
    ReadReport &m_report;
    QByteArray m_zipBlock;
    QByteArray m_monitoringBlock;
};

enum class Tidying { Written, LeftAsOthersWroteIt, Failed };

// The tidying rewrite holds the write lock from a second read on, and writes only when the file
// still holds the text that was tidied: a save that came between is never undone. The first read
// takes no lock, so a start-up that has nothing to tidy never waits for another writer.
Tidying tidyUnderLock(const QString &path, const QByteArray &readText, const QByteArray &text,
                      FileOperations &files, const WriteLock &lock, MessagePresenter &messages)
{
    QByteArray now;
    if (readTutorFileText(path, now, files, messages) != ReadStatus::Ok)
        return Tidying::Failed;
    if (now != readText)
        return Tidying::LeftAsOthersWroteIt;
    const WriteResult written = WriteFileWithBackup(path, text, files, &lock, &now);
    if (!written.ok)
        messages.show(texts::normalisedRewriteFailed(path, written.error));
    return written.ok ? Tidying::Written : Tidying::Failed;
}

// The tidying rewrite holds the write lock from a second read on, and writes only when the file
// still holds the text that was tidied: a save that came between is never undone. The first read
// takes no lock, so a start-up that has nothing to tidy never waits for another writer. Messages
// wait until the lock is let go.
Tidying writeTidiedText(const QString &path, const QByteArray &readText, const QByteArray &text,
                        FileOperations &files, MessagePresenter &messages)
{
    DeferredMessages later;
    Tidying tidying = Tidying::Failed;
    {
        QString reason;
        const std::unique_ptr<WriteLock> lock = files.lockForWriting(path, reason);
        if (!lock) {
            messages.show(texts::normalisedRewriteFailed(path, reason));
            return Tidying::Failed;
        }
        tidying = tidyUnderLock(path, readText, text, files, *lock, later);
    }
    later.showTo(messages);
    return tidying;
}

} // namespace

ReadReport ReadTutorXMLFile(const QString &vsFilePath, const QString &vsFileTitle, TutorData &data,
                            MessagePresenter &messages, FileOperations &files,
                            const ReadOptions &options)
{
    ReadReport report;
    const QString path = suiteFilePath(vsFilePath, vsFileTitle);
    if (!files.fileExists(path))
        return report;
    report.fileFound = true;

    QByteArray original;
    switch (readTutorFileText(path, original, files, messages)) {
    case ReadStatus::Ok:
        break;
    case ReadStatus::NotFound:
        report.fileFound = false;
        return report;
    case ReadStatus::TooLarge:
    case ReadStatus::Failed:
        report.readFailed = true;
        return report;
    }

    data = TutorData{};
    data.fileFound = true;
    data.record.file_title = vsFileTitle;
    data.record.file_path = vsFilePath;
    TutorFileReader reader(original, data.record, data.NumberScriptsText, messages, report);
    const QByteArray normalised = reader.readAll();

    report.normalised = normalised.size() != original.size();
    if (!report.normalised || report.malformed)
        return report;
    if (options.rewriteNormalised) {
        report.rewritten =
            writeTidiedText(path, original, normalised, files, messages) == Tidying::Written;
    } else {
        report.normalisedText = normalised;
        report.readText = original;
    }
    return report;
}

ReadStatus readTutorFileText(const QString &path, QByteArray &text, FileOperations &files,
                             MessagePresenter &messages)
{
    qint64 size = 0;
    QString error;
    const ReadStatus status = files.readFile(path, kMaxFileBytes, text, size, error);
    if (status == ReadStatus::TooLarge)
        messages.show(texts::fileTooLarge(path, size, kMaxFileBytes));
    else if (status == ReadStatus::Failed)
        messages.show(texts::cannotReadFile(path, error));
    return status;
}

bool WriteNormalisedText(const QString &path, const QByteArray &readText, const QByteArray &text,
                         FileOperations &files, MessagePresenter &messages)
{
    return writeTidiedText(path, readText, text, files, messages) != Tidying::Failed;
}

} // namespace monitorfile
