#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "tagsearch.h"

namespace monitorfile {

class ByteWriter;
class EncodedValues;

// What an element becomes in a save when this writer left its value as it found it: the file's
// present value, at span's place in text, so that a change another writer made meanwhile is
// kept; trimmed as every save trims. mine when the element is not in text.
QByteArrayView keptValue(QByteArrayView text, const ElementSpan &span, QByteArrayView mine);

// Appends to out the student list of a save, rebuilt from list (the value of the file's
// "<student_list>"): each of the first count blocks whose personal id matches a grid row gets
// that row's three values, in place of what stood between its "</student_completed>" and
// "</student_monitoring_details>"; the blocks' other bytes are copied as they are (text between
// blocks is dropped, as cutStudentList drops it). When asRead holds the rows as first read, a
// value still equal to it takes keptValue. The k-th block with an id takes the k-th row with that
// id, so a repeated id never duplicates a block. missingIds gets the tags of the personal ids not
// found; false, with malformedTag, when the list cannot be rebuilt.
bool appendSavedStudentList(QByteArrayView list, int count, const EncodedValues &rows,
                            const EncodedValues *asRead, ByteWriter &out,
                            QByteArrayList &missingIds, QByteArray &malformedTag);

} // namespace monitorfile
