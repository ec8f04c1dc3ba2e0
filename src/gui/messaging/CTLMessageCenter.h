#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The member's messages.
class CTLMessageCenter : public FormPane {
    Q_OBJECT
public:
    explicit CTLMessageCenter(QWidget* parent = nullptr);
};

}  // namespace tl
