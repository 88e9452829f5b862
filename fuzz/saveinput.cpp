#include "saveinput.h"

#include "ansicodec.h"

#include <QStringList>

#include <algorithm>

using namespace monitorfile;

namespace {

enum Switch : uint8_t {
    UnencodableComment = 1 << 0,
    NoCommentDate = 1 << 1,
    ReadWithoutRewrite = 1 << 2,
    RepeatFirstRow = 1 << 3,
    UnknownRow = 1 << 4,
    ReversedRows = 1 << 5,
    PaddedValues = 1 << 6,
    NoComments = 1 << 7,
};

const QStringList &flagChoices()
{
    static const QStringList choices = {
        QString(),           QStringLiteral("E"),   QStringLiteral("G"),
        QStringLiteral("I"), QStringLiteral("N/A"), QStringLiteral(" G ")};
    return choices;
}

const QStringList &markingChoices()
{
    static const QStringList choices = {QString(), QStringLiteral("Appropriate"),
                                        QStringLiteral("Lenient"), QStringLiteral("Severe")};
    return choices;
}

const QStringList &feedbackChoices()
{
    static const QStringList choices = {QString(), QStringLiteral("Excellent (E)"),
                                        QStringLiteral("Good (G)"),
                                        QStringLiteral("Scope For Improvement (I)")};
    return choices;
}

QString pick(const QStringList &choices, int seed)
{
    return choices.at(seed % choices.size());
}

} // namespace

SaveInput::SaveInput(const uint8_t *data, size_t size)
{
    uint8_t control[kControlBytes] = {};
    const size_t controlSize = std::min<size_t>(size, kControlBytes);
    std::copy(data, data + controlSize, control);
    m_flagSeed = control[0];
    m_switches = control[1];
    m_gradingSeed = control[2];
    m_rows = control[3];
    file = QByteArray(reinterpret_cast<const char *>(data + controlSize),
                      qsizetype(size - controlSize));
    readWithoutRewrite = m_switches & ReadWithoutRewrite;
    unencodableComment = m_switches & UnencodableComment;
}

MonitorFormValues SaveInput::valuesFor(const TutorData &data) const
{
    MonitorFormValues values;
    for (int i = 0; i < kFlagCount; ++i)
        values.flags[i] = pick(flagChoices(), m_flagSeed + i * (1 + m_gradingSeed % 3));
    if (!(m_switches & NoComments))
        values.comments = QStringLiteral(" Marks < 50 & > 40: tr\u00e8s bien ");
    if (unencodableComment)
        values.comments += QChar(0x0101); // no Windows-1252 byte: the save must be refused
    if (!(m_switches & NoCommentDate))
        values.commentDate = QStringLiteral("07-Dec-2026");

    // Most inputs keep every student; the others keep only the first few.
    const int students = int(data.record.students.size());
    const int kept = m_rows < 0x80 ? students : std::min(students, m_rows & 0x7f);
    const QString pad = (m_switches & PaddedValues) ? QStringLiteral("  ") : QString();
    for (int k = 0; k < kept; ++k) {
        StudentGrading row;
        row.personalId = pad + decodeAnsi(data.record.students[k].student_personal_id) + pad;
        row.marking = pad + pick(markingChoices(), m_gradingSeed + k);
        row.summaryFeedback = pick(feedbackChoices(), m_gradingSeed / 4 + k);
        row.scriptComments = pick(feedbackChoices(), m_gradingSeed / 16 + 2 * k) + pad;
        values.students.push_back(row);
    }
    if ((m_switches & RepeatFirstRow) && !values.students.empty())
        values.students.push_back(values.students.front());
    if (m_switches & UnknownRow)
        values.students.push_back(
            {QStringLiteral("Z9999999"), QStringLiteral("Severe"), QString(), QString()});
    if (m_switches & ReversedRows)
        std::reverse(values.students.begin(), values.students.end());
    return values;
}
