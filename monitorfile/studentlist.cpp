#include "studentlist.h"

#include "tagsearch.h"

namespace monitorfile {

StudentListCut cutStudentList(const QByteArray &list, int count)
{
    static const ElementTags tags = tagsOf("student_details");
    StudentListCut cut;
    qsizetype from = 0;
    for (int i = 0; i < count; ++i) {
        const ElementSpan span = locateElement(list, tags, from);
        if (!span.found()) {
            cut.missingTag = span.missingTag;
            cut.extras = list.mid(from);
            return cut;
        }
        cut.blocks.append(list.mid(span.start, span.end - span.start));
        from = span.end;
    }
    // Blocks beyond the count stay, unchanged; an unfinished one is kept as it stands.
    for (;;) {
        const ElementSpan span = locateElement(list, tags, from);
        if (span.start < 0)
            break;
        if (!span.found()) {
            cut.extras += list.mid(span.start);
            break;
        }
        cut.extras += list.mid(span.start, span.end - span.start);
        from = span.end;
    }
    return cut;
}

} // namespace monitorfile
