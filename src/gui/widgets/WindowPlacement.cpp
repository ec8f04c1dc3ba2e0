#include "gui/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tl {
namespace {

// The window manager's frame is not known before the window is shown: room for a title bar
// and borders is kept free.
constexpr QSize kFrameAllowance(16, 48);

}  // namespace

void placeInsideScreen(QWidget& window, QSize wanted) {
    QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return window.resize(wanted);
    const QRect area = screen->availableGeometry();
    const QSize size = wanted.boundedTo(area.size() - kFrameAllowance);
    window.resize(size);
    const QSize outer = size + kFrameAllowance;
    // move() places the frame, so the title bar's top is what lands at the point.
    window.move(std::max(area.left(), area.center().x() - outer.width() / 2),
                std::max(area.top(), area.center().y() - outer.height() / 2));
}

}  // namespace tl
