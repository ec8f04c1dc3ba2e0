#pragma once

#include "gui/widgets/TemplateDialog.h"

namespace tl {

// The About box: the program's name and build, and OK.
class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tl
