#include "gui/frame/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CAboutDlg::CAboutDlg(QWidget* parent)
    : TemplateDialog(res::IDD_ABOUTBOX, "About Tradeloom", parent) {
    QPushButton* ok = idButton(this, res::IDC_ABOUT_OK, "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Tradeloom v1.4 Build 0502", this), 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
}

}  // namespace tl
