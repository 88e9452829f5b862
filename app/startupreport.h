#pragma once

#include <functional>

class QWidget;

// For measuring start-up (bench/startup.sh): MONITOR_FORM_STARTUP_REPORT names a file that
// receives, once the window has been painted for the first time, the milliseconds since the
// process started and the resident memory at that moment, and the same figures prefixed
// "settled_" once `settled` answers true (polled; for the work done after the first paint, such as
// loading the spelling dictionary; at most 10 s). Call before the window is shown. With
// MONITOR_FORM_QUIT_AFTER_REPORT=1 the program then ends, unless a state file or a screenshot is
// also asked for (that report ends it).
void reportStartupWhenAsked(QWidget &window, std::function<bool()> settled = {});
