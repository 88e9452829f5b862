#pragma once

class MonFormEntry;

// For end-to-end tests, demos and support staff, once the form is on screen:
// - MONITOR_FORM_STATE_FILE names a file that receives what the form shows (the header lines,
//   the student rows and the comments, one per line), so a running form can be checked without
//   reading pixels;
// - MONITOR_FORM_SCREENSHOT names a PNG file that receives a picture of the window;
// - MONITOR_FORM_QUIT_AFTER_REPORT=1 ends the program after writing them.
void reportStateWhenAsked(MonFormEntry &form);
