#pragma once

#include "gui/widgets/FormPane.h"

namespace tl {

class CExplorer1;

// The member's messages: the server's message page, loaded afresh each time the pane is shown
// so that newly arrived mail appears.
class CTLMessageCenter : public FormPane {
    Q_OBJECT
public:
    explicit CTLMessageCenter(QWidget* parent = nullptr);

    CExplorer1& explorer() const { return *explorer_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CExplorer1* explorer_;
};

}  // namespace tl
