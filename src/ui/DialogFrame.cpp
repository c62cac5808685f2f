#include "ui/DialogFrame.h"

#include <QWidget>

void UseDialogFrame(QWidget& dialog) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // Changing the flags of a window on the screen would hide it.
    if (dialog.windowFlags() != flags && !dialog.isVisible())
        dialog.setWindowFlags(flags);
}
