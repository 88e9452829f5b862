#include "monitorsave.h"

#include "ansicodec.h"
#include "bytewriter.h"
#include "deferredmessages.h"
#include "encodedvalues.h"
#include "fileoperations.h"
#include "markupchars.h"
#include "messages.h"
#include "messagetexts.h"
#include "safewrite.h"
#include "savedstudents.h"
#include "tagsearch.h"
#include "textvalues.h"
#include "tutorfilereader.h"

#include <algorithm>

namespace monitorfile {

namespace {

struct SingleElement
{
    const ElementTags *tagsOfElement;
    const ElementTags &tags() const { return *tagsOfElement; }
    QByteArrayView value;
    ElementSpan span; // in the text as read
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

const ElementTags &studentListTags()
{
    static const ElementTags tags = tagsOf("student_list");
    return tags;
}

// The single elements, in the order they are replaced, located in text as read, and the student
// list. A value this writer left as it found it (mine equals asRead) takes the file's present
// one (keptValue).
QList<SingleElement> singleElements(const EncodedValues &encoded, const EncodedValues *asRead,
                                    const QByteArray &text, ElementSpan &list)
{
    const auto &tags = singleTags();
    static const StartTags startTags = [&tags] {
        std::vector<QByteArray> starts;
        for (const ElementTags &single : tags)
            starts.push_back(single.start);
        starts.push_back(studentListTags().start);
        return StartTags(starts);
    }();
    const std::vector<qsizetype> starts = startTags.firstIn(text);
    list = elementAt(text, studentListTags(), starts.back());
    QList<SingleElement> singles;
    singles.reserve(kFlagCount + 2);
    const auto add = [&](int i, QByteArrayView mine, QByteArrayView was, bool merge) {
        const ElementSpan span = elementAt(text, tags[i], starts[size_t(i)]);
        const bool kept = merge && asRead && mine == was;
        singles.append({&tags[i], kept ? keptValue(text, span, mine) : mine, span});
    };
    for (int i = 0; i < kFlagCount; ++i)
        add(i, encoded.flag(i), asRead ? asRead->flag(i) : QByteArrayView(), true);
    add(kFlagCount, encoded.comments(), asRead ? asRead->comments() : QByteArrayView(), true);
    // The date is the day of this save, whoever saved before.
    add(kFlagCount + 1, encoded.commentDate(), {}, false);
    return singles;
}

enum class Replacement { Done, MissingTag, NoPreferences };

Replacement replaceInText(QByteArray &text, const ElementTags &tags, QByteArrayView value,
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
        QByteArray element = tags.start;
        element.append(value).append(tags.end);
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

// Splicing every single element's value into the text as read, in one pass, gives what
// replacing them one after the other and then rebuilding the list gives, when each element is
// there, before the list, and no value, old or new, holds a '<': then no replacement can make,
// hide or move another's tag, and the list is where it was. Each value then also reads back
// as written, for the list's rebuild changes nothing before the list.
bool spliceable(const QByteArray &text, const QList<SingleElement> &singles,
                const ElementSpan &list)
{
    if (!list.found())
        return false;
    const auto plain = [](QByteArrayView value) { return !value.contains('<'); };
    return std::all_of(singles.cbegin(), singles.cend(), [&](const SingleElement &single) {
        const ElementSpan &span = single.span;
        return span.found() && span.end <= list.start && plain(single.value) &&
               plain(QByteArrayView(text).sliced(span.valueBegin, span.valueLength()));
    });
}

// Copies text up to the end of list's start tag into out, each single element's value spliced
// in.
void appendSpliced(const QByteArray &text, QList<SingleElement> singles, const ElementSpan &list,
                   ByteWriter &out)
{
    std::sort(singles.begin(), singles.end(), [](const SingleElement &a, const SingleElement &b) {
        return a.span.start < b.span.start;
    });
    qsizetype copied = 0;
    for (const SingleElement &single : singles) {
        out.append(QByteArrayView(text).sliced(copied, single.span.valueBegin - copied));
        out.append(single.value);
        copied = single.span.endTag;
    }
    out.append(QByteArrayView(text).sliced(copied, list.valueBegin - copied));
}

// In a damaged file one replacement can swallow another, or an element inserted in front of
// "</preferences>" can land inside the student list; the entries must read back as written.
bool readsBack(const QByteArray &text, const QList<SingleElement> &singles, QByteArray &damagedTag)
{
    for (const SingleElement &single : singles) {
        const ElementSpan span = locateElement(text, single.tags());
        if (!span.found() ||
            QByteArrayView(text).sliced(span.valueBegin, span.valueLength()) != single.value) {
            damagedTag = single.tags().start;
            return false;
        }
    }
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

// The whole new text, made before anything is written so that a save lands whole or not at all.
bool buildSavedText(const QByteArray &text, const SaveInput &in, QByteArray &out,
                    QByteArrayList &missingIds, MessagePresenter &messages)
{
    ElementSpan list;
    const QList<SingleElement> singles = singleElements(in.encoded, in.asRead, text, list);
    const bool spliced = spliceable(text, singles, list);
    QByteArray changed; // otherwise: the single elements replaced one after the other
    QByteArray malformedTag;
    if (!spliced) {
        changed = text;
        for (const SingleElement &single : singles) {
            if (replaceInText(changed, single.tags(), single.value, malformedTag) !=
                Replacement::Done) {
                messages.show(texts::saveRefusedMalformed(malformedTag));
                return false;
            }
        }
        // Only an empty-element list needs expanding first.
        list = locateElement(changed, studentListTags());
        QByteArray none;
        if (!list.found() &&
            extractElementReporting(studentListTags(), changed, none, malformedTag) != 0) {
            messages.show(texts::saveRefusedMalformed(malformedTag));
            return false;
        }
        if (!list.found())
            list = locateElement(changed, studentListTags());
    }
    const QByteArrayView base = spliced ? text : changed;
    ByteWriter writer(base.size() + base.size() / 8); // the values may grow
    if (spliced)
        appendSpliced(text, singles, list, writer);
    else
        writer.append(base.first(list.valueBegin));
    const int count = qMax<int>(0, wholeNumberValue(in.numberScriptsText));
    if (!appendSavedStudentList(base.sliced(list.valueBegin, list.valueLength()), count, in.encoded,
                                in.asRead, writer, missingIds, malformedTag)) {
        messages.show(texts::saveRefusedMalformed(malformedTag));
        return false;
    }
    writer.append(base.sliced(list.endTag));
    out = writer.take();
    QByteArray damagedTag;
    if (!spliced && !readsBack(out, singles, damagedTag)) {
        messages.show(texts::saveRefusedDamaged(damagedTag));
        return false;
    }
    return true;
}

bool saveUnderLock(const SaveInput &in, FileOperations &files, const WriteLock &lock,
                   MessagePresenter &messages)
{
    QByteArray text;
    if (!readForSave(in.path, text, files, messages))
        return false;
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
    QByteArray saved;
    QByteArrayList missingIds;
    if (!buildSavedText(text, in, saved, missingIds, messages))
        return false;
    for (const QByteArray &missingId : missingIds)
        messages.show(texts::missingElement(missingId));
    return writeForSave(in.path, saved, files, messages, &lock, &text);
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
    if (!encoded.encode(values, unencodable)) {
        messages.show(texts::saveRefusedUnencodable(unencodable));
        return false;
    }
    EncodedValues was;
    if (asRead && !was.encode(*asRead, unencodable))
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
    if (!encoded.encode(values, unencodable))
        return;
    for (int i = 0; i < kFlagCount; ++i)
        data.record.flags[i] = encoded.flag(i).toByteArray();
    data.record.monitor_comments = encoded.comments().toByteArray();
    DecodeMarkupChars(data.record.monitor_comments);
    std::vector<StudentRecord> &students = data.record.students;
    if (students.size() != size_t(encoded.studentCount()))
        return;
    for (size_t i = 0; i < students.size(); ++i) {
        const int row = int(i);
        students[i].marking = encoded.student(row, StudentField::Marking).toByteArray();
        students[i].pt3_commenting =
            encoded.student(row, StudentField::SummaryFeedback).toByteArray();
        students[i].script_commenting =
            encoded.student(row, StudentField::ScriptComments).toByteArray();
    }
}

} // namespace monitorfile
