#include "monitorsave.h"

#include "ansicodec.h"
#include "deferredmessages.h"
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

// The suite keeps line breaks as CR LF; a text box gives a bare LF.
QByteArray withStoredLineBreaks(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

bool encodeValues(const MonitorFormValues &values, EncodedValues &encoded, QString &unencodable)
{
    ValueEncoder encode;
    for (int i = 0; i < kFlagCount; ++i)
        encoded.flags[i] = encode(values.flags[i]);
    encoded.comments = withStoredLineBreaks(encode(values.comments));
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
    const ElementTags *tagsOfElement;
    const ElementTags &tags() const { return *tagsOfElement; }
    QByteArray value;
};

// The tags of the single elements, in the order they are replaced: the flags, the comments, the
// date. Made once.
const std::array<ElementTags, kFlagCount + 2> &singleTags()
{
    static const std::array<ElementTags, kFlagCount + 2> tags = [] {
        std::array<ElementTags, kFlagCount + 2> made;
        const QList<QByteArray> flags = flagNames();
        for (int i = 0; i < kFlagCount; ++i)
            made[i] = tagsOf(flags[i]);
        made[kFlagCount] = tagsOf("monitor_comments");
        made[kFlagCount + 1] = tagsOf("monitor_comment_date");
        return made;
    }();
    return tags;
}

// What an element becomes. A value this writer left as it found it (mine equals asRead) takes
// the file's present value, so that a change another writer made meanwhile is kept; trimmed as
// every save trims, and with its own line breaks. Without asRead every value is written.
QByteArray mergedValue(const QByteArray &mine, const QByteArray *asRead, const QByteArray &text,
                       const ElementTags &tags)
{
    if (!asRead || mine != *asRead)
        return mine;
    const ElementSpan span = locateElement(text, tags);
    if (!span.found())
        return mine;
    return trimBlanks(text.mid(span.valueBegin, span.valueLength()));
}

// The single elements, in the order they are replaced; their values merged with text as read.
QList<SingleElement> singleElements(const EncodedValues &encoded, const EncodedValues *asRead,
                                    const QByteArray &text)
{
    const auto &tags = singleTags();
    QList<SingleElement> singles;
    for (int i = 0; i < kFlagCount; ++i) {
        singles.append(
            {&tags[i],
             mergedValue(encoded.flags[i], asRead ? &asRead->flags[i] : nullptr, text, tags[i])});
    }
    singles.append(
        {&tags[kFlagCount], mergedValue(encoded.comments, asRead ? &asRead->comments : nullptr,
                                        text, tags[kFlagCount])});
    // The date is the day of this save, whoever saved before.
    singles.append({&tags[kFlagCount + 1], encoded.commentDate});
    return singles;
}

enum class Replacement { Done, MissingTag, NoPreferences };

Replacement replaceInText(QByteArray &text, const ElementTags &tags, const QByteArray &value,
                          QByteArray &missingTag)
{
    const ElementSpan span = locateElement(text, tags);
    if (span.found()) {
        text.replace(span.valueBegin, span.valueLength(), value); // in place, no new buffer
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
// gets that row's three values (merged, when asRead holds the rows as first read, as the single
// elements are). The k-th block with an id takes the k-th row with that id, so a repeated id
// never duplicates a block. missingIds gets the tags of the personal ids not found.
bool rebuildStudentList(QByteArray &text, const QByteArray &numberScriptsText,
                        const std::vector<EncodedGrading> &rows,
                        const std::vector<EncodedGrading> *asRead, QByteArrayList &missingIds,
                        QByteArray &malformedTag)
{
    if (asRead && asRead->size() != rows.size())
        asRead = nullptr;
    static const ElementTags listTags = tagsOf("student_list");
    static const ElementTags idTags = tagsOf("student_personal_id");
    static const ElementTags markingTags = tagsOf("marking");
    static const ElementTags summaryTags = tagsOf("pt3_commenting");
    static const ElementTags scriptTags = tagsOf("script_commenting");
    static const QByteArray completedEnd = "</student_completed>";
    static const QByteArray monitoringEnd = "</student_monitoring_details>";

    // One scan finds the list; only an empty-element form needs the slower, expanding path.
    ElementSpan listSpan = locateElement(text, listTags);
    if (!listSpan.found()) {
        QByteArray none;
        if (extractElementReporting(listTags, text, none, malformedTag) != 0)
            return false;
        listSpan = locateElement(text, listTags);
    }
    const QByteArray list = text.mid(listSpan.valueBegin, listSpan.valueLength());
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

    QByteArray rebuilt;
    rebuilt.reserve(text.size() + text.size() / 8); // the values may grow
    rebuilt.append(text.constData(), listSpan.valueBegin);
    for (QByteArray block : cut.blocks) {
        QByteArray id;
        QByteArray missingId;
        if (extractElementReporting(idTags, block, id, missingId) != 0) {
            missingIds.append(missingId);
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
        const int r = matching[taken];
        const EncodedGrading *was = asRead ? &(*asRead)[r] : nullptr;
        auto merged = [&](const QByteArray EncodedGrading::*field, const ElementTags &tags) {
            return mergedValue(rows[r].*field, was ? &(was->*field) : nullptr, block, tags);
        };
        const EncodedGrading row{rows[r].personalId, merged(&EncodedGrading::marking, markingTags),
                                 merged(&EncodedGrading::summaryFeedback, summaryTags),
                                 merged(&EncodedGrading::scriptComments, scriptTags)};

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
        rebuilt.append(block.constData(), headEnd + completedEnd.size());
        for (const auto &[tags, value] :
             {std::pair{&markingTags, &row.marking}, std::pair{&summaryTags, &row.summaryFeedback},
              std::pair{&scriptTags, &row.scriptComments}})
            rebuilt.append(tags->start).append(*value).append(tags->end);
        rebuilt.append(block.constData() + tailStart, block.size() - tailStart);
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

// Under a save's lock, with the text as read under it; without them, a rewrite of its own.
bool writeForSave(const QString &path, const QByteArray &text, FileOperations &files,
                  MessagePresenter &messages, const WriteLock *lock = nullptr,
                  const QByteArray *asRead = nullptr)
{
    const WriteResult written = WriteFileWithBackup(path, text, files, lock, asRead);
    if (!written.ok)
        messages.show(texts::saveFailed(path, written.error, !written.replaced));
    return written.ok;
}

struct SaveInput
{
    const QString &path;
    const EncodedValues &encoded;
    const EncodedValues *asRead;
    const FileIdentity &opened;
    const QByteArray &numberScriptsText;
};

FileIdentity identityIn(const QByteArray &text)
{
    const auto value = [&text](const char *name) {
        const ElementSpan span = locateElement(text, tagsOf(name));
        return span.found() ? trimBlanks(text.mid(span.valueBegin, span.valueLength()))
                            : QByteArray();
    };
    return {value("staff_id"), value("course_code"), value("pres_code"), value("assgnmt_suffix")};
}

bool saveUnderLock(const SaveInput &in, FileOperations &files, const WriteLock &lock,
                   MessagePresenter &messages)
{
    QByteArray text;
    if (!readForSave(in.path, text, files, messages))
        return false;
    const QByteArray asRead = text; // shared until the text changes
    // A file moved or copied over this one (another tutor's, another assignment's) is not the
    // form's to write into.
    if (!in.opened.isEmpty()) {
        const FileIdentity now = identityIn(text);
        if (!(now == in.opened)) {
            messages.show(texts::saveFailed(
                in.path, texts::fileOfAnotherTutor(in.opened.shown(), now.shown())));
            return false;
        }
    }

    // The whole new text is made before anything is written, so a save lands whole or not at all.
    const QList<SingleElement> singles = singleElements(in.encoded, in.asRead, text);
    QByteArray malformedTag;
    for (const SingleElement &single : singles) {
        if (replaceInText(text, single.tags(), single.value, malformedTag) != Replacement::Done) {
            messages.show(texts::saveRefusedMalformed(malformedTag));
            return false;
        }
    }
    QByteArrayList missingIds;
    if (!rebuildStudentList(text, in.numberScriptsText, in.encoded.students,
                            in.asRead ? &in.asRead->students : nullptr, missingIds, malformedTag)) {
        messages.show(texts::saveRefusedMalformed(malformedTag));
        return false;
    }
    // In a damaged file one replacement can swallow another, or an element inserted in front of
    // "</preferences>" can land inside the student list; the entries must read back as written.
    for (const SingleElement &single : singles) {
        const ElementSpan span = locateElement(text, single.tags());
        if (!span.found() || text.mid(span.valueBegin, span.valueLength()) != single.value) {
            messages.show(texts::saveRefusedDamaged(single.tags().start));
            return false;
        }
    }
    for (const QByteArray &missingId : missingIds)
        messages.show(texts::missingElement(missingId));
    return writeForSave(in.path, text, files, messages, &lock, &asRead);
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
                     MessagePresenter &messages, const MonitorFormValues *asRead)
{
    EncodedValues encoded;
    QString unencodable;
    if (!encodeValues(values, encoded, unencodable)) {
        messages.show(texts::saveRefusedUnencodable(unencodable));
        return false;
    }
    EncodedValues was;
    if (asRead && !encodeValues(*asRead, was, unencodable))
        asRead = nullptr;

    // From the read to the rewrite no other writer may come between, or its save would be lost;
    // no box is shown before the lock is let go.
    DeferredMessages later;
    bool saved = false;
    {
        QString reason;
        const std::unique_ptr<WriteLock> lock = files.lockForWriting(path, reason);
        if (!lock) {
            messages.show(texts::saveFailed(path, reason));
            return false;
        }
        const SaveInput input{path, encoded, asRead ? &was : nullptr,
                              asRead ? asRead->identity : FileIdentity{}, numberScriptsText};
        saved = saveUnderLock(input, files, *lock, later);
    }
    later.showTo(messages);
    return saved;
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return staffId == other.staffId && courseCode == other.courseCode &&
           presCode == other.presCode && assignment == other.assignment;
}

QString FileIdentity::shown() const
{
    return QStringLiteral("tutor %1, %2-%3 TMA %4")
        .arg(decodeAnsi(staffId), decodeAnsi(courseCode), decodeAnsi(presCode),
             decodeAnsi(assignment));
}

MonitorFormValues formValuesOf(const TutorData &data)
{
    MonitorFormValues values;
    const TutorRecord &r = data.record;
    values.identity = {trimBlanks(r.staff_id), trimBlanks(r.course_code), trimBlanks(r.pres_code),
                       trimBlanks(r.assgnmt_suffix)};
    for (int i = 0; i < kFlagCount; ++i)
        values.flags[i] = decodeAnsi(data.record.flags[i]);
    values.comments = decodeAnsi(data.record.monitor_comments);
    for (const StudentRecord &s : data.record.students) {
        values.students.push_back({decodeAnsi(s.student_personal_id), decodeAnsi(s.marking),
                                   decodeAnsi(s.pt3_commenting), decodeAnsi(s.script_commenting)});
    }
    return values;
}

void keepSavedValues(TutorData &data, const MonitorFormValues &values)
{
    EncodedValues encoded;
    QString unencodable;
    if (!encodeValues(values, encoded, unencodable))
        return;
    data.record.flags = encoded.flags;
    data.record.monitor_comments = encoded.comments;
    DecodeMarkupChars(data.record.monitor_comments);
    std::vector<StudentRecord> &students = data.record.students;
    if (students.size() != encoded.students.size())
        return;
    for (size_t i = 0; i < students.size(); ++i) {
        students[i].marking = encoded.students[i].marking;
        students[i].pt3_commenting = encoded.students[i].summaryFeedback;
        students[i].script_commenting = encoded.students[i].scriptComments;
    }
}

} // namespace monitorfile
