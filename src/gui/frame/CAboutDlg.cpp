#include "gui/frame/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/platform/ProgramVersion.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {

CAboutDlg::CAboutDlg(QWidget* parent)
    : TemplateDialog(res::IDD_ABOUTBOX, "About Tradeloom", parent) {
    QPushButton* ok = idButton(this, res::IDC_ABOUT_OK, "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromStdString(programTitle()), this), 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
}

}  // namespace tl
