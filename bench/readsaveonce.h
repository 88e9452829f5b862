#pragma once

#include <QByteArray>
#include <QString>

// Generates a compact file of `students` students in a scratch folder, reads it and saves it
// once, as the form does from start-up to the monitor's save. Returns why that failed or showed
// a message; empty when it went through. fileSize gets the size of the generated file.
QString readAndSaveOnce(int students, qint64 *fileSize = nullptr);

// The peak resident and peak virtual size of this process as Linux counts them; empty
// elsewhere. The virtual size also shows buffers reserved but never touched.
QByteArray memoryPeaks();
