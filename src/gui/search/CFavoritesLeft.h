#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the favourites.
class CFavoritesLeft : public FormPane {
    Q_OBJECT
public:
    explicit CFavoritesLeft(QWidget* parent = nullptr);
};

}  // namespace tl
