#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the my-listings and edit-listing panes.
class CMyProductsLeft : public FormPane {
    Q_OBJECT
public:
    explicit CMyProductsLeft(QWidget* parent = nullptr);
};

}  // namespace tl
