#pragma once

#include "monitorversion.h"

#include <QString>

// The release's version, shown in the About window: the build's one version.
constexpr int kVersionMajor = MONITOR_VERSION_MAJOR;
constexpr int kVersionMinor = MONITOR_VERSION_MINOR;
constexpr int kVersionRevision = MONITOR_VERSION_PATCH;

// "major.minor.revision" with the minor at least two digits and the revision at least four,
// as the suite shows versions: (1, 5, 12) gives "1.05.0012".
QString versionText(int major, int minor, int revision);
