#include "ui/DialogFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// Room left between the window and the line it keeps clear of.
constexpr int kGap = 8;

} // namespace

void UseDialogFrame(QWidget& dialog) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // Changing the flags of a window on the screen would hide it.
    if (dialog.windowFlags() != flags && !dialog.isVisible())
        dialog.setWindowFlags(flags);
}

QPoint PlaceClearOf(const QRect& keep, const QSize& size, const QRect& screen) {
    int x = std::clamp(keep.left(), screen.left(),
                       std::max(screen.left(), screen.right() + 1 - size.width()));
    int below = keep.bottom() + 1 + kGap;
    if (below + size.height() <= screen.bottom() + 1)
        return {x, below};
    int above = keep.top() - kGap - size.height();
    if (above >= screen.top())
        return {x, above};
    // No room on either side: the side with more of it, as far from the line as it goes.
    bool moreBelow = screen.bottom() - keep.bottom() > keep.top() - screen.top();
    return {x, moreBelow ? screen.bottom() + 1 - size.height() : screen.top()};
}

void MoveClearOf(QWidget& window, const QRect& keep) {
    QRect frame = window.frameGeometry();
    if (!frame.intersects(keep))
        return;
    QScreen* screen = QGuiApplication::screenAt(keep.center());
    if (!screen)
        screen = window.screen();
    QRect area = screen ? screen->availableGeometry() : frame.united(keep);
    QPoint at = PlaceClearOf(keep, frame.size(), area);
    // The frame's corner goes there; move() places the window by the same corner.
    window.move(at + (window.pos() - frame.topLeft()));
}
