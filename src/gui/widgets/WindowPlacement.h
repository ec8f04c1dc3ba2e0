#pragma once

#include <QSize>

class QWidget;

namespace tl {

// Places a window that has not been shown yet inside the free area of its screen: the wanted
// size, shrunk where the area is smaller, and the whole window, title bar included, centred in
// the area, so it can always be seen and dragged.
void placeInsideScreen(QWidget& window, QSize wanted);

}  // namespace tl
