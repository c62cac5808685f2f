#pragma once

// The window frame of a dialog: a title and a close button, without the minimise and
// maximise buttons the window manager would otherwise give a window. Set before the dialog
// is first shown.

class QPoint;
class QRect;
class QSize;
class QWidget;

void UseDialogFrame(QWidget& dialog);

// Where a window of Size (its frame included) goes so that it keeps clear of Keep, the line
// of text it is about: just below it when the screen has room there, else just above it,
// level with its left edge and inside Screen.
QPoint PlaceClearOf(const QRect& keep, const QSize& size, const QRect& screen);
// Moves a shown window clear of Keep (screen coordinates) when it covers it.
void MoveClearOf(QWidget& window, const QRect& keep);
