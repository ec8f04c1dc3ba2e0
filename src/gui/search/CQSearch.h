#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The results of a quick search.
class CQSearch : public FormPane {
    Q_OBJECT
public:
    explicit CQSearch(QWidget* parent = nullptr);
};

}  // namespace tl
