#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

class ResultList;

// The member's favourites.
class CViewFavs : public FormPane {
    Q_OBJECT
public:
    explicit CViewFavs(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

private:
    ResultList* list_;
};

}  // namespace tl
