#pragma once

#include "monitorsave.h"

// What the monitor enters for a generated file of `students` students on the pass-th save.
// Every flag, the comments and each student's three values differ from one pass to the next,
// so no save writes what the file already holds.
monitorfile::MonitorFormValues changingFormValues(int students, int pass);
