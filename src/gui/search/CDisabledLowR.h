#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The bar below the advanced search form.
class CDisabledLowR : public FormPane {
    Q_OBJECT
public:
    explicit CDisabledLowR(QWidget* parent = nullptr);
};

}  // namespace tl
