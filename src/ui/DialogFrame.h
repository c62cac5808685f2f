#pragma once

// The window frame of a dialog: a title and a close button, without the minimise and
// maximise buttons the window manager would otherwise give a window. Set before the dialog
// is first shown.

class QWidget;

void UseDialogFrame(QWidget& dialog);
