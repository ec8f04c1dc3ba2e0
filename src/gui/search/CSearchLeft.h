#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the quick-search results and the advanced search form: Add Favorite, Buy
// Item, View Item and Print. They act on the row last chosen in the list shown beside them.
class CSearchLeft : public FormPane {
    Q_OBJECT
public:
    explicit CSearchLeft(QWidget* parent = nullptr);

    // 1 while the advanced search form is shown beside it, 0 for the quick-search results.
    int advancedMode() const { return advancedMode_; }
    void setAdvancedMode(int mode) { advancedMode_ = mode; }

    void onAddFavorite();
    void onBuyItem();
    void onViewItem();

private:
    template <class Command>
    void onEveryResultView(Command command);

    int advancedMode_ = 0;
};

}  // namespace tl
