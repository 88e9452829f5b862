#include "savedstudents.h"

#include "bytewriter.h"
#include "encodedvalues.h"
#include "studentlist.h"
#include "tagsearch.h"
#include "textvalues.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

namespace monitorfile {

namespace {

// The grid's rows ordered by personal id, each id's rows in grid order: a block takes the first
// row with its id that no earlier block took.
class RowsById
{
public:
    explicit RowsById(const EncodedValues &rows) : m_rows(rows), m_order(rows.studentCount())
    {
        std::iota(m_order.begin(), m_order.end(), 0);
        std::stable_sort(m_order.begin(), m_order.end(),
                         [this](int a, int b) { return idOf(a) < idOf(b); });
        m_taken.assign(m_order.size(), 0);
    }

    // The row for the next block with this id, or -1.
    int take(QByteArrayView blockId)
    {
        const std::string_view id(blockId.data(), size_t(blockId.size()));
        const auto first = std::lower_bound(
            m_order.begin(), m_order.end(), id,
            [this](int row, std::string_view wanted) { return idOf(row) < wanted; });
        const size_t group = size_t(first - m_order.begin());
        if (group >= m_order.size())
            return -1;
        const size_t next = group + size_t(m_taken[group]);
        if (next >= m_order.size() || idOf(m_order[next]) != id)
            return -1;
        ++m_taken[group];
        return m_order[next];
    }

private:
    // As a std::string_view, whose comparisons are inline.
    std::string_view idOf(int row) const
    {
        const QByteArrayView id = m_rows.student(row, StudentField::PersonalId);
        return {id.data(), size_t(id.size())};
    }

    const EncodedValues &m_rows;
    std::vector<int> m_order;
    std::vector<int> m_taken; // by the index in m_order where an id's rows begin
};

struct StudentTags
{
    ElementTags id = tagsOf("student_personal_id");
    ElementTags marking = tagsOf("marking");
    ElementTags summary = tagsOf("pt3_commenting");
    ElementTags script = tagsOf("script_commenting");
    QByteArray completedEnd = "</student_completed>";
    QByteArray monitoringEnd = "</student_monitoring_details>";
};

const StudentTags &studentTags()
{
    static const StudentTags tags;
    return tags;
}

} // namespace

QByteArrayView keptValue(QByteArrayView text, const ElementSpan &span, QByteArrayView mine)
{
    return span.found() ? blankTrimmed(text.sliced(span.valueBegin, span.valueLength())) : mine;
}

bool appendSavedStudentList(QByteArrayView list, int count, const EncodedValues &rows,
                            const EncodedValues *asRead, ByteWriter &out,
                            QByteArrayList &missingIds, QByteArray &malformedTag)
{
    if (asRead && asRead->studentCount() != rows.studentCount())
        asRead = nullptr;
    const StudentTags &tags = studentTags();
    const StudentListSpans cut = studentListSpans(list, count);
    if (!cut.missingTag.isEmpty()) {
        malformedTag = cut.missingTag;
        return false;
    }
    RowsById rowsById(rows);
    for (QByteArrayView block : cut.blocks) {
        QByteArrayView id;
        QByteArray expanded; // the block, when its personal id stands in its empty form
        const ElementSpan idSpan = locateElement(block, tags.id);
        if (idSpan.found()) {
            id = blankTrimmed(block.sliced(idSpan.valueBegin, idSpan.valueLength()));
        } else {
            expanded = block.toByteArray();
            QByteArray none;
            QByteArray missingId;
            if (extractElementReporting(tags.id, expanded, none, missingId) != 0) {
                missingIds.append(missingId);
                out.append(block);
                continue;
            }
            block = expanded;
        }
        const int r = rowsById.take(id);
        if (r < 0) {
            out.append(block);
            continue;
        }
        const auto merged = [&](StudentField field, const ElementTags &elementTags) {
            const QByteArrayView mine = rows.student(r, field);
            if (!asRead || mine != asRead->student(r, field))
                return mine;
            return keptValue(block, locateElement(block, elementTags), mine);
        };
        const QByteArrayView marking = merged(StudentField::Marking, tags.marking);
        const QByteArrayView summary = merged(StudentField::SummaryFeedback, tags.summary);
        const QByteArrayView script = merged(StudentField::ScriptComments, tags.script);

        const qsizetype headEnd = findBytes(block, tags.completedEnd);
        if (headEnd < 0) {
            malformedTag = tags.completedEnd;
            return false;
        }
        const qsizetype head = headEnd + tags.completedEnd.size();
        const qsizetype tailStart = findBytes(block, tags.monitoringEnd, head);
        if (tailStart < 0) {
            malformedTag = tags.monitoringEnd;
            return false;
        }
        out.append(block.first(head));
        for (const auto &[elementTags, value] :
             {std::pair{&tags.marking, marking}, std::pair{&tags.summary, summary},
              std::pair{&tags.script, script}})
            out.append(elementTags->start).append(value).append(elementTags->end);
        out.append(block.sliced(tailStart));
    }
    for (const QByteArrayView extra : cut.extras)
        out.append(extra);
    return true;
}

} // namespace monitorfile
