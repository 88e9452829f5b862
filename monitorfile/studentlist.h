#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace monitorfile {

// The first `count` "<student_details>" blocks of a student list, each searched behind the
// previous one, and the complete blocks behind them (extras), run together. Text between the
// blocks is dropped, as the suite writes the list. When a block among the first `count` is
// missing, missingTag names its missing tag and extras holds the rest of the list unchanged.
struct StudentListSpans
{
    QList<QByteArrayView> blocks;
    QList<QByteArrayView> extras; // to be run together
    QByteArray missingTag;
};

// The cut as views into list, which must outlive them.
StudentListSpans studentListSpans(QByteArrayView list, int count);

// The same cut as copies: the blocks to be changed in place, extras run together.
struct StudentListCut
{
    QList<QByteArray> blocks;
    QByteArray extras;
    QByteArray missingTag;
};

StudentListCut cutStudentList(const QByteArray &list, int count);

} // namespace monitorfile
