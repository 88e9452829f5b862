#include "encodedvalues.h"

#include "ansicodec.h"
#include "markupchars.h"
#include "textvalues.h"

namespace monitorfile {

namespace {

// The suite keeps line breaks as CR LF; a text box gives a bare LF.
QByteArray withStoredLineBreaks(QByteArray text)
{
    return text.replace("\r\n", "\n").replace("\n", "\r\n");
}

} // namespace

void EncodedValues::add(const QString &text, QStringList &unencodable)
{
    const QStringView trimmed = blankTrimmed(QStringView(text));
    if (!appendAnsi(trimmed, m_bytes)) {
        QString missing;
        encodeAnsi(trimmed.toString(), &missing);
        for (const QString &c : missing.split(QLatin1Char(' '))) {
            if (!unencodable.contains(c))
                unencodable.append(c);
        }
    }
    m_ends.push_back(m_bytes.size());
}

bool EncodedValues::encode(const MonitorFormValues &values, QString &unencodable)
{
    qsizetype length = values.comments.size() * 2 + values.commentDate.size();
    for (const QString &flag : values.flags)
        length += flag.size();
    for (const StudentGrading &row : values.students) {
        length += row.personalId.size() + row.marking.size() + row.summaryFeedback.size() +
                  row.scriptComments.size();
    }
    m_bytes.clear();
    m_bytes.reserve(length);
    m_ends.clear();
    m_ends.reserve(kSingles + values.students.size() * kStudentFields);

    QStringList missing;
    for (const QString &flag : values.flags)
        add(flag, missing);
    add(values.comments, missing);
    const qsizetype commentsBegin = m_ends[kFlagCount - 1];
    QByteArray comments = withStoredLineBreaks(m_bytes.sliced(commentsBegin));
    EncodeMarkupChars(comments);
    m_bytes.truncate(commentsBegin);
    m_bytes += comments;
    m_ends.back() = m_bytes.size();
    add(values.commentDate, missing);
    for (const StudentGrading &row : values.students) {
        for (const QString *text :
             {&row.personalId, &row.marking, &row.summaryFeedback, &row.scriptComments})
            add(*text, missing);
    }
    unencodable = missing.join(QLatin1Char(' '));
    return unencodable.isEmpty();
}

QByteArrayView EncodedValues::value(int index) const
{
    const qsizetype begin = index > 0 ? m_ends[index - 1] : 0;
    return QByteArrayView(m_bytes).sliced(begin, m_ends[index] - begin);
}

} // namespace monitorfile
