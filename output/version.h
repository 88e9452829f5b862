#pragma once

#include <QString>

// The release's version, shown in the About window.
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 0;

// "major.minor.revision" with the minor at least two digits and the revision at least four,
// as the suite shows versions: (1, 5, 12) gives "1.05.0012".
QString versionText(int major, int minor, int revision);
