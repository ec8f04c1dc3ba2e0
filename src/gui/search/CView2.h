#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

class ResultList;

// The advanced search form, with its result list below the search fields.
class CView2 : public FormPane {
    Q_OBJECT
public:
    explicit CView2(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

private:
    ResultList* list_;
};

}  // namespace tl
