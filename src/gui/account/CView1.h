#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

// The user-information pane. Building it starts the session: the reference lists are
// refreshed and the member logs in.
class CView1 : public FormPane {
    Q_OBJECT
public:
    explicit CView1(QWidget* parent = nullptr);
};

}  // namespace tl
