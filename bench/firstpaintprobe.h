#pragma once

class QWidget;

// MONITOR_FORM_STARTUP_REPORT and MONITOR_FORM_QUIT_AFTER_REPORT as the form reads them: once
// the window has been painted for the first time, writes the milliseconds since the process
// started and the resident memory to the named file, then ends the program if asked.
void reportStartupWhenAsked(QWidget &window);
