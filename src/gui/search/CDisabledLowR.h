#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The bar below the advanced search form, in place of the quick-search bar: one button runs
// the form's search, the other clears the form.
class CDisabledLowR : public FormPane {
    Q_OBJECT
public:
    explicit CDisabledLowR(QWidget* parent = nullptr);

    void onSearch();
    void onClear();
};

}  // namespace tl
