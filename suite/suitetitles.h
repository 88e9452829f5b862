#pragma once

// The exact top-level titles of the suite's windows, blanks included, as bytes of the ANSI code
// page. Plain C++ so that the Windows layer's tests look for the very same windows.

namespace suite::titles {

inline constexpr char kTutorSummary[] = "Norvale Quillet Monitor File Handler - Tutor Summary";
inline constexpr char kStudentSummary[] = "Norvale Quillet Monitor File Handler - Student Summary";
// Two blanks before "Zip", as the suite names it.
inline constexpr char kZip[] = "Norvale Quillet File Handler -  Zip";
inline constexpr char kMonitorForm[] = "Monitor Entry Form - Norvale Quillet Monitor File Handler";

} // namespace suite::titles
