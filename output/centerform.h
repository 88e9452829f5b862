#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// Where a window goes to sit in the middle of the screen, all in twips: half the screen less
// half the window, each half rounded to a whole number with halves to the even neighbour, and
// the result clamped to a signed 16-bit value as the suite's window positions are.
QPoint centredPosition(QSize screenTwips, QSize windowTwips);

// Moves window (its frame, as far as it is known yet) to the middle of the window it belongs to
// where that one is shown, else to the middle of its screen: the left first, then the top.
void CenterForm(QWidget &window);
