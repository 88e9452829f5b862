#pragma once

#include <functional>

class QWidget;

// Runs `then` once, from the event loop, after the window has been shown and painted for the
// first time (its first expose handled: every widget painted and flushed). Start-up work that
// the monitor need not wait for goes there, after the window is on the screen.
void afterFirstPaint(QWidget &window, std::function<void()> then);
