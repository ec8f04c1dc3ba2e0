#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The edit-listing form.
class CProdEditView : public FormPane {
    Q_OBJECT
public:
    explicit CProdEditView(QWidget* parent = nullptr);
};

}  // namespace tl
