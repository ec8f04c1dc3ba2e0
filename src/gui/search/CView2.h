#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The advanced search form.
class CView2 : public FormPane {
    Q_OBJECT
public:
    explicit CView2(QWidget* parent = nullptr);
};

}  // namespace tl
