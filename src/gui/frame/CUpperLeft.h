#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The Back button above the left column.
class CUpperLeft : public FormPane {
    Q_OBJECT
public:
    explicit CUpperLeft(QWidget* parent = nullptr);
};

}  // namespace tl
