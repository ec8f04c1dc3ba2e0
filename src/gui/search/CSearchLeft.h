#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the search result and advanced search panes.
class CSearchLeft : public FormPane {
    Q_OBJECT
public:
    explicit CSearchLeft(QWidget* parent = nullptr);

    // 1 while the advanced search form is shown beside it, 0 for the quick-search results.
    int advancedMode() const { return advancedMode_; }
    void setAdvancedMode(int mode) { advancedMode_ = mode; }

private:
    int advancedMode_ = 0;
};

}  // namespace tl
