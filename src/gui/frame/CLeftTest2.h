#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The print panel of the web pane: asks every web pane to print its page.
class CLeftTest2 : public FormPane {
    Q_OBJECT
public:
    explicit CLeftTest2(QWidget* parent = nullptr);

    void onPrint();
};

}  // namespace tl
