#include "studentlist.h"

#include "tagsearch.h"

namespace monitorfile {

StudentListSpans studentListSpans(QByteArrayView list, int count)
{
    static const ElementTags tags = tagsOf("student_details");
    StudentListSpans cut;
    qsizetype from = 0;
    for (int i = 0; i < count; ++i) {
        const ElementSpan span = locateElement(list, tags, from);
        if (!span.found()) {
            cut.missingTag = span.missingTag;
            cut.extras.append(list.sliced(from));
            return cut;
        }
        cut.blocks.append(list.sliced(span.start, span.end - span.start));
        from = span.end;
    }
    // Blocks beyond the count stay, unchanged; an unfinished one is kept as it stands.
    for (;;) {
        const ElementSpan span = locateElement(list, tags, from);
        if (span.start < 0)
            break;
        if (!span.found()) {
            cut.extras.append(list.sliced(span.start));
            break;
        }
        cut.extras.append(list.sliced(span.start, span.end - span.start));
        from = span.end;
    }
    return cut;
}

StudentListCut cutStudentList(const QByteArray &list, int count)
{
    const StudentListSpans spans = studentListSpans(list, count);
    StudentListCut cut;
    for (const QByteArrayView block : spans.blocks)
        cut.blocks.append(block.toByteArray());
    for (const QByteArrayView extra : spans.extras)
        cut.extras += extra;
    cut.missingTag = spans.missingTag;
    return cut;
}

} // namespace monitorfile
