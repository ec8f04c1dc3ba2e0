#pragma once

#include "app/FormPane.h"

namespace tl {

// The buttons beside the new-listing form.
class CAddLeft : public FormPane {
    Q_OBJECT
public:
    explicit CAddLeft(QWidget* parent = nullptr);
};

}  // namespace tl
