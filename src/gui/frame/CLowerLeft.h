#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The logo below the left column.
class CLowerLeft : public FormPane {
    Q_OBJECT
public:
    explicit CLowerLeft(QWidget* parent = nullptr);
};

}  // namespace tl
