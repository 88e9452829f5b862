#pragma once

#include <QString>

namespace monitorfile {

class FileOperations;
class MessagePresenter;
struct TutorData;

// Brings the editable values of the model (comments, flags, each student's three values) back
// to what the file at path holds, when changes are thrown away. The first missing element ends
// the reload with its message; what was taken before it stays. A block is matched to a student
// by personal id (the k-th block with an id to the k-th student with it), so its values never
// go to another student.
void ReloadMonitoringData(const QString &path, TutorData &data, FileOperations &files,
                          MessagePresenter &messages);

} // namespace monitorfile
