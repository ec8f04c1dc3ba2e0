#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the favourites: Remove, Buy Item (the contact dialog) and Print. They act
// on the favourite last chosen in the list.
class CFavoritesLeft : public FormPane {
    Q_OBJECT
public:
    explicit CFavoritesLeft(QWidget* parent = nullptr);

    void onRemove();
    void onBuyItem();
};

}  // namespace tl
