#include "gui/account/CUserLeft.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "gui/account/CView1.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_frame.h"

namespace tl {

CUserLeft::CUserLeft(QWidget* parent) : FormPane(res::IDD_USERLEFT, parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 8, 4, 8);
    // The column is narrow: the caption is short and the tip says the rest.
    QPushButton* password = idButton(this, res::IDC_USERLEFT_PASSWORD, "Password");
    password->setToolTip("Change Password");
    QPushButton* submit = idButton(this, res::IDC_USERLEFT_SUBMIT, "Submit");
    connect(password, &QPushButton::clicked, this,
            [this] { onEveryProfile(&CView1::ChangePassword); });
    connect(submit, &QPushButton::clicked, this, [this] { onEveryProfile(&CView1::Submit); });
    column->addWidget(password);
    column->addWidget(submit);
    column->addStretch();
}

void CUserLeft::onEveryProfile(void (CView1::*command)()) {
    for (CView1* profile : window()->findChildren<CView1*>()) (profile->*command)();
}

}  // namespace tl
