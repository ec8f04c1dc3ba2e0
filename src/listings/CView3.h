#pragma once

#include "app/FormPane.h"

namespace tl {

// The new-listing form.
class CView3 : public FormPane {
    Q_OBJECT
public:
    explicit CView3(QWidget* parent = nullptr);
};

}  // namespace tl
