#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The member's favourites.
class CViewFavs : public FormPane {
    Q_OBJECT
public:
    explicit CViewFavs(QWidget* parent = nullptr);
};

}  // namespace tl
