#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

class CView1;

// The buttons beside the user-information pane: change the password and submit the profile.
class CUserLeft : public FormPane {
    Q_OBJECT
public:
    explicit CUserLeft(QWidget* parent = nullptr);

private:
    void onEveryProfile(void (CView1::*command)());
};

}  // namespace tl
