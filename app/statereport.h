#pragma once

class MonFormEntry;
class QWidget;

// For end-to-end tests, demos and support staff, once the form is on screen:
// - MONITOR_FORM_STATE_FILE names a file that receives what the form shows (the header lines,
//   the student rows and the comments, one per line), so a running form can be checked without
//   reading pixels;
// - MONITOR_FORM_SCREENSHOT names a PNG file that receives a picture of the window;
// - MONITOR_FORM_QUIT_AFTER_REPORT=1 ends the program after writing them.
void reportStateWhenAsked(MonFormEntry &form);

// For measuring start-up (bench/startup.sh): MONITOR_FORM_STARTUP_REPORT names a file that
// receives, once the window has been painted for the first time, the milliseconds since the
// process started and the resident memory at that moment. Call before the window is shown.
// With MONITOR_FORM_QUIT_AFTER_REPORT=1 the program then ends, unless a state file or a
// screenshot is also asked for (that report ends it).
void reportStartupWhenAsked(QWidget &window);
