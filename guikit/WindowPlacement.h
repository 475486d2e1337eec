#pragma once

class QWidget;

// Where the windows of both programs appear.
namespace WindowPlacement {

// Places a window in its container (a sub-window of a multiple-document
// window) or on its display: centred horizontally, its top at the free
// height divided by verticalDivisor (2 centres it).
void place(QWidget* window, int verticalDivisor);

// Sizes the window to its content, within the display, and centres it on
// the display; once more just before it first shows, because lists and
// labels filled in the meantime can still widen it.
void centreOnDisplay(QWidget* window);

} // namespace WindowPlacement
