#include "gui/frame/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setTemplateId(this, res::IDD_ABOUTBOX);
    setWindowTitle("About Tradeloom");
    auto* ok = new QPushButton("OK", this);
    setControlId(ok, res::IDC_ABOUT_OK);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Tradeloom v1.4 Build 0502", this), 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
}

}  // namespace tl
