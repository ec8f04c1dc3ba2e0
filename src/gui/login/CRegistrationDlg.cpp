#include "gui/login/CRegistrationDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/account/Registration.h"
#include "core/reflists/CategoryDocument.h"
#include "gui/login/AccountForm.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_app.h"

namespace tl {
namespace {

constexpr int kLimit = 50;

}  // namespace

CRegistrationDlg::CRegistrationDlg(QWidget* parent)
    : TemplateDialog(res::IDD_REGISTRATION, "Tradeloom Registration", parent) {
    userName_ = limitedEdit(this, res::IDC_USER_USERNAME, kLimit);
    password_ = passwordEdit(this, res::IDC_USER_PASSWORD);
    password2_ = passwordEdit(this, res::IDC_USER_PASSWORD2);
    firstName_ = limitedEdit(this, res::IDC_USER_FIRSTNAME, kLimit);
    lastName_ = limitedEdit(this, res::IDC_USER_LASTNAME, kLimit);
    address_ = limitedEdit(this, res::IDC_USER_ADDRESS, kLimit);
    city_ = limitedEdit(this, res::IDC_USER_CITY, kLimit);
    state_ = choiceBox(this, res::IDC_USER_STATE_LIST, false, stateChoices());
    zipcode_ = limitedEdit(this, res::IDC_USER_ZIPCODE, kLimit);
    country_ = limitedEdit(this, res::IDC_USER_COUNTRY, kLimit);
    phone_ = limitedEdit(this, res::IDC_USER_PHONE, kLimit);
    email_ = limitedEdit(this, res::IDC_USER_EMAIL, kLimit);
    connection_ = choiceBox(this, res::IDC_USER_CONNECTION_REG, true, connectionChoices());
    connection_->setCurrentIndex(-1);
    // Both club lists start on "no club".
    const QStringList clubs =
        QStringList{""} + toStringList(loadClubNames().value_or(std::vector<std::string>{}));
    club1_ = choiceBox(this, res::IDC_USER_CLUB1, false, clubs);
    club2_ = choiceBox(this, res::IDC_USER_CLUB2, false, clubs);

    auto* byEmail = new QRadioButton("Email", this);
    setControlId(byEmail, res::IDC_USER_CONTACT_EMAIL);
    byEmail->setChecked(true);
    auto* byPhone = new QRadioButton("Phone", this);
    setControlId(byPhone, res::IDC_USER_CONTACT_PHONE);
    connect(byEmail, &QRadioButton::clicked, this, [this] { contact_ = "Email"; });
    connect(byPhone, &QRadioButton::clicked, this, [this] { contact_ = "Phone"; });
    auto* contact = new QHBoxLayout;
    contact->addWidget(byEmail);
    contact->addWidget(byPhone);
    auto* optIn = new QCheckBox("Receive Opt-in marketing", this);
    setControlId(optIn, res::IDC_USER_OPTIN);

    auto* form = new QFormLayout(this);
    form->addRow("User Name", userName_);
    form->addRow("Password", password_);
    form->addRow("Re-enter Password", password2_);
    form->addRow("First Name", firstName_);
    form->addRow("Last Name", lastName_);
    form->addRow("Address", address_);
    form->addRow("City", city_);
    form->addRow("State", state_);
    form->addRow("Zip Code", zipcode_);
    form->addRow("Country", country_);
    form->addRow("Phone", phone_);
    form->addRow("Email", email_);
    form->addRow("Connection Speed", connection_);
    form->addRow("Club 1", club1_);
    form->addRow("Club 2", club2_);
    form->addRow("Preferred Contact", contact);
    form->addRow(optIn);
    QPushButton* submit = addOkCancelRow(form, "Submit");
    connect(submit, &QPushButton::clicked, this, &CRegistrationDlg::onSubmit);
}

RegistrationForm CRegistrationDlg::readForm() const {
    RegistrationForm f;
    f.username = textOf(userName_);
    f.password = textOf(password_);
    f.password2 = textOf(password2_);
    f.firstname = textOf(firstName_);
    f.lastname = textOf(lastName_);
    f.address = textOf(address_);
    f.city = textOf(city_);
    f.state = textOf(state_);
    f.zipcode = textOf(zipcode_);
    f.country = textOf(country_);
    f.phone = textOf(phone_);
    f.email = textOf(email_);
    f.connection = textOf(connection_);
    f.club1 = textOf(club1_);
    f.club2 = textOf(club2_);
    f.contact = contact_;
    return f;
}

// The checks empty the user name or the passwords; the form shows what they left.
void CRegistrationDlg::writeBack(const RegistrationForm& f) {
    userName_->setText(QString::fromStdString(f.username));
    password_->setText(QString::fromStdString(f.password));
    password2_->setText(QString::fromStdString(f.password2));
    connection_->setEditText(QString::fromStdString(f.connection));
}

void CRegistrationDlg::onSubmit() {
    RegistrationForm form = readForm();
    const bool complete = checkRegistrationForm(form);
    writeBack(form);
    if (!complete) return;
    WaitCursor wait;
    if (registerMember(form) != NewUserReply::Created) return;
    registered_ = form.username;
    accept();
}

}  // namespace tl
