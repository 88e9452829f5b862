#pragma once

#include "monitorsave.h"
#include "tutordata.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// A save input: the first kControlBytes bytes choose the monitor's entries, the rest is the
// file. Short inputs read as if padded with zeros.
struct SaveInput
{
    static constexpr int kControlBytes = 4;

    SaveInput(const uint8_t *data, size_t size);

    QByteArray file;
    bool readWithoutRewrite = false;
    bool unencodableComment = false;

    // The entries for the file as read: flags, comments with markup characters and an accented
    // letter, and grid rows for the students the reader found.
    monitorfile::MonitorFormValues valuesFor(const monitorfile::TutorData &data) const;

private:
    uint8_t m_flagSeed = 0;
    uint8_t m_switches = 0;
    uint8_t m_gradingSeed = 0;
    uint8_t m_rows = 0;
};
