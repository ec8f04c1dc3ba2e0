#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the user-information pane.
class CUserLeft : public FormPane {
    Q_OBJECT
public:
    explicit CUserLeft(QWidget* parent = nullptr);
};

}  // namespace tl
