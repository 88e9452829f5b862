#include "monitorsave.h"

#include "ansicodec.h"
#include "fileoperations.h"
#include "markupchars.h"
#include "messages.h"
#include "messagetexts.h"
#include "safewrite.h"
#include "studentlist.h"
#include "tagsearch.h"
#include "textvalues.h"
#include "tutorfilereader.h"

#include <QHash>

namespace monitorfile {

namespace {

struct EncodedGrading
{
    QByteArray personalId;
    QByteArray marking;
    QByteArray summaryFeedback;
    QByteArray scriptComments;
};

struct EncodedValues
{
    std::array<QByteArray, kFlagCount> flags;
    QByteArray comments;
    QByteArray commentDate;
    std::vector<EncodedGrading> students;
};

// Trims and encodes every value; collects the characters the code page cannot hold.
class ValueEncoder
{
public:
    QByteArray operator()(const QString &text)
    {
        QString missing;
        const auto bytes = encodeAnsi(trimBlanks(text), &missing);
        if (bytes)
            return *bytes;
        for (const QString &c : missing.split(QLatin1Char(' '))) {
            if (!m_unencodable.contains(c))
                m_unencodable.append(c);
        }
        return {};
    }
    QString unencodable() const { return m_unencodable.join(QLatin1Char(' ')); }

private:
    QStringList m_unencodable;
};

bool encodeValues(const MonitorFormValues &values, EncodedValues &encoded, QString &unencodable)
{
    ValueEncoder encode;
    for (int i = 0; i < kFlagCount; ++i)
        encoded.flags[i] = encode(values.flags[i]);
    encoded.comments = encode(values.comments);
    EncodeMarkupChars(encoded.comments);
    encoded.commentDate = encode(values.commentDate);
    for (const StudentGrading &row : values.students) {
        encoded.students.push_back({encode(row.personalId), encode(row.marking),
                                    encode(row.summaryFeedback), encode(row.scriptComments)});
    }
    unencodable = encode.unencodable();
    return unencodable.isEmpty();
}

struct SingleElement
{
    QByteArray name;
    QByteArray value;
};

// The elements the first rewrite replaces, in the order it replaces them.
QList<SingleElement> singleElements(const EncodedValues &encoded)
{
    QList<SingleElement> singles;
    const QList<QByteArray> flags = flagNames();
    for (int i = 0; i < kFlagCount; ++i)
        singles.append({flags[i], encoded.flags[i]});
    singles.append({"monitor_comments", encoded.comments});
    singles.append({"monitor_comment_date", encoded.commentDate});
    return singles;
}

enum class Replacement { Done, MissingTag, NoPreferences };

Replacement replaceInText(QByteArray &text, const ElementTags &tags, const QByteArray &value,
                          QByteArray &missingTag)
{
    const ElementSpan span = locateElement(text, tags);
    if (span.found()) {
        text = spliceElement(text, span, value);
        return Replacement::Done;
    }
    const bool startMissing = span.start < 0;
    const bool endPresent = text.contains(tags.end);
    if (startMissing && !endPresent) {
        const QByteArray element = tags.start + value + tags.end;
        const QByteArray emptyForm = emptyElementTag(tags.start);
        const qsizetype empty = text.indexOf(emptyForm);
        if (empty >= 0) {
            text.replace(empty, emptyForm.size(), element);
            return Replacement::Done;
        }
        const qsizetype preferences = text.indexOf("</preferences>");
        if (preferences >= 0) {
            text.insert(preferences, element);
            return Replacement::Done;
        }
        missingTag = tags.start;
        return Replacement::NoPreferences;
    }
    // One tag without the other: inserting a second copy would garble the file.
    missingTag = span.missingTag;
    return Replacement::MissingTag;
}

// Rebuilds the student list: each of the first N blocks whose personal id matches a grid row
// gets that row's three values. The k-th block with an id takes the k-th row with that id, so
// a repeated id never duplicates a block. messages gets the missing personal ids; null keeps
// quiet (the check before writing).
bool rebuildStudentList(QByteArray &text, const QByteArray &numberScriptsText,
                        const std::vector<EncodedGrading> &rows, MessagePresenter *messages,
                        QByteArray &malformedTag)
{
    static const ElementTags listTags = tagsOf("student_list");
    static const ElementTags idTags = tagsOf("student_personal_id");
    static const QByteArray completedEnd = "</student_completed>";
    static const QByteArray monitoringEnd = "</student_monitoring_details>";

    QByteArray list;
    if (extractElementReporting(listTags, text, list, malformedTag) != 0)
        return false;
    const ElementSpan listSpan = locateElement(text, listTags);
    const int count = qMax<int>(0, wholeNumberValue(numberScriptsText));
    const StudentListCut cut = cutStudentList(list, count);
    if (!cut.missingTag.isEmpty()) {
        malformedTag = cut.missingTag;
        return false;
    }

    QHash<QByteArray, QList<int>> rowsById;
    for (int r = 0; r < int(rows.size()); ++r)
        rowsById[trimBlanks(rows[r].personalId)].append(r);
    QHash<QByteArray, int> rowsTaken;

    QByteArray rebuilt = text.left(listSpan.valueBegin);
    for (QByteArray block : cut.blocks) {
        QByteArray id;
        QByteArray missingId;
        if (extractElementReporting(idTags, block, id, missingId) != 0) {
            if (messages)
                messages->show(texts::missingElement(missingId));
            rebuilt += block;
            continue;
        }
        id = trimBlanks(id);
        const int taken = rowsTaken.value(id);
        const QList<int> matching = rowsById.value(id);
        if (taken >= matching.size()) {
            rebuilt += block;
            continue;
        }
        rowsTaken[id] = taken + 1;
        const EncodedGrading &row = rows[matching[taken]];

        const qsizetype headEnd = block.indexOf(completedEnd);
        if (headEnd < 0) {
            malformedTag = completedEnd;
            return false;
        }
        const qsizetype tailStart = block.indexOf(monitoringEnd, headEnd + completedEnd.size());
        if (tailStart < 0) {
            malformedTag = monitoringEnd;
            return false;
        }
        rebuilt += block.left(headEnd + completedEnd.size());
        rebuilt += "<marking>" + row.marking + "</marking>";
        rebuilt += "<pt3_commenting>" + row.summaryFeedback + "</pt3_commenting>";
        rebuilt += "<script_commenting>" + row.scriptComments + "</script_commenting>";
        rebuilt += block.mid(tailStart);
    }
    rebuilt += cut.extras;
    rebuilt += text.mid(listSpan.endTag);
    text = rebuilt;
    return true;
}

bool readForSave(const QString &path, QByteArray &text, FileOperations &files,
                 MessagePresenter &messages)
{
    qint64 size = 0;
    QString error;
    switch (files.readFile(path, kMaxFileBytes, text, size, error)) {
    case ReadStatus::Ok:
        return true;
    case ReadStatus::NotFound:
        error = texts::fileVanished();
        break;
    case ReadStatus::TooLarge:
        error = texts::fileGrewTooLarge(size);
        break;
    case ReadStatus::Failed:
        break;
    }
    messages.show(texts::saveFailed(path, error));
    return false;
}

bool writeForSave(const QString &path, const QByteArray &text, FileOperations &files,
                  MessagePresenter &messages)
{
    const WriteResult written = WriteFileWithBackup(path, text, files);
    if (!written.ok)
        messages.show(texts::saveFailed(path, written.error));
    return written.ok;
}

} // namespace

QString formatCommentDate(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, QStringLiteral("dd-MMM-yyyy"));
}

bool ReplaceElementText(const QByteArray &startTag, const QByteArray &endTag, const QString &path,
                        const QByteArray &value, bool readFirst, bool writeNow, QByteArray &text,
                        FileOperations &files, MessagePresenter &messages)
{
    if (readFirst && !readForSave(path, text, files, messages))
        return false;
    QByteArray missingTag;
    if (replaceInText(text, {startTag, endTag}, value, missingTag) != Replacement::Done) {
        messages.show(texts::saveRefusedMalformed(missingTag));
        return false;
    }
    return !writeNow || writeForSave(path, text, files, messages);
}

bool SaveMonitorForm(const QString &path, const MonitorFormValues &values,
                     const QByteArray &numberScriptsText, FileOperations &files,
                     MessagePresenter &messages)
{
    EncodedValues encoded;
    QString unencodable;
    if (!encodeValues(values, encoded, unencodable)) {
        messages.show(texts::saveRefusedUnencodable(unencodable));
        return false;
    }

    // The single elements.
    const QList<SingleElement> singles = singleElements(encoded);
    QByteArray text;
    for (qsizetype i = 0; i < singles.size(); ++i) {
        const ElementTags tags = tagsOf(singles[i].name);
        if (!ReplaceElementText(tags.start, tags.end, path, singles[i].value, i == 0, false, text,
                                files, messages))
            return false;
    }
    // The student list must be whole before the first rewrite, so a refused save writes nothing.
    QByteArray malformedTag;
    QByteArray check = text;
    if (!rebuildStudentList(check, numberScriptsText, encoded.students, nullptr, malformedTag)) {
        messages.show(texts::saveRefusedMalformed(malformedTag));
        return false;
    }
    // In a damaged file one replacement can swallow another, or an element inserted in front of
    // "</preferences>" can land inside the student list; the entries must read back as written.
    for (const SingleElement &single : singles) {
        const ElementSpan span = locateElement(check, tagsOf(single.name));
        if (!span.found() || check.mid(span.valueBegin, span.valueLength()) != single.value) {
            messages.show(texts::saveRefusedDamaged(tagsOf(single.name).start));
            return false;
        }
    }
    if (!writeForSave(path, text, files, messages))
        return false;

    // The students, on the file as it now stands.
    if (!readForSave(path, text, files, messages))
        return false;
    if (!rebuildStudentList(text, numberScriptsText, encoded.students, &messages, malformedTag)) {
        messages.show(texts::saveRefusedMalformed(malformedTag));
        return false;
    }
    return writeForSave(path, text, files, messages);
}

} // namespace monitorfile
