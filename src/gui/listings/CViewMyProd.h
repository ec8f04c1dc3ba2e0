#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The member's own and bought listings.
class CViewMyProd : public FormPane {
    Q_OBJECT
public:
    explicit CViewMyProd(QWidget* parent = nullptr);
};

}  // namespace tl
