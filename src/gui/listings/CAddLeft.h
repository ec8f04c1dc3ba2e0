#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

class CView3;

// The buttons beside the new-listing form: Add, Preview and Clear, each run on every
// new-listing form of the main window.
class CAddLeft : public FormPane {
    Q_OBJECT
public:
    explicit CAddLeft(QWidget* parent = nullptr);

private:
    void onEveryForm(void (CView3::*command)());
};

}  // namespace tl
