#include "gui/account/CView1.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/account/AccountRequests.h"
#include "core/account/BusinessCard.h"
#include "core/listings/RememberedDefaults.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/reflists/CategoryDocument.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/login/AccountForm.h"
#include "gui/login/SessionStart.h"
#include "gui/login/CChangePasswordDlg.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_frame.h"

namespace tl {
namespace {

constexpr int kLimit = 50;
constexpr int kStateLimit = 2;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CView1::CView1(QWidget* parent) : FormPane(res::IDD_VIEW1, parent) {
    runSessionStart();
    buildForm();
    loadMember();
}

void CView1::buildForm() {
    userName_ = limitedEdit(this, res::IDC_USER_USERNAME, kLimit);
    userName_->setReadOnly(true);
    firstName_ = limitedEdit(this, res::IDC_USER_FIRSTNAME, kLimit);
    lastName_ = limitedEdit(this, res::IDC_USER_LASTNAME, kLimit);
    address_ = limitedEdit(this, res::IDC_USER_ADDRESS, kLimit);
    city_ = limitedEdit(this, res::IDC_USER_CITY, kLimit);
    state_ = limitedEdit(this, res::IDC_USER_STATE, kStateLimit);
    zipcode_ = limitedEdit(this, res::IDC_USER_ZIPCODE, kLimit);
    country_ = limitedEdit(this, res::IDC_USER_COUNTRY, kLimit);
    phone_ = limitedEdit(this, res::IDC_USER_PHONE, kLimit);
    email_ = limitedEdit(this, res::IDC_USER_EMAIL, kLimit);
    contact_ = limitedEdit(this, res::IDC_USER_CONTACT, kLimit);
    contact_->setReadOnly(true);
    byPhone_ = new QRadioButton("Phone", this);
    setControlId(byPhone_, res::IDC_USER_CONTACT_PHONE);
    byEmail_ = new QRadioButton("Email", this);
    setControlId(byEmail_, res::IDC_USER_CONTACT_EMAIL);
    connection_ = choiceBox(this, res::IDC_USER_CONNECTION, true, connectionChoices());
    card_ = new QLineEdit(this);
    setControlId(card_, res::IDC_USER_CARD);
    card_->setReadOnly(true);
    allClubs_ = choiceBox(this, res::IDC_USER_CLUB1, false);
    yourClubs_ = choiceBox(this, res::IDC_USER_YOUR_CLUBS, false);

    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto addRow = [&](const char* label, QWidget* field, QWidget* extra = nullptr) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(field, row, 1);
        if (extra) grid->addWidget(extra, row, 2);
        ++row;
    };
    const auto button = [this](int id, const char* text, void (CView1::*run)()) {
        QPushButton* b = idButton(this, id, text);
        connect(b, &QPushButton::clicked, this, run);
        return b;
    };
    addRow("User Name", userName_);
    addRow("First Name", firstName_);
    addRow("Last Name", lastName_);
    addRow("Address", address_);
    addRow("City", city_);
    addRow("State", state_);
    addRow("Zip Code", zipcode_);
    addRow("Country", country_);
    addRow("Phone", phone_);
    addRow("Email", email_);
    auto* radios = new QWidget(this);
    auto* radioRow = new QHBoxLayout(radios);
    radioRow->setContentsMargins(0, 0, 0, 0);
    radioRow->addWidget(byPhone_);
    radioRow->addWidget(byEmail_);
    addRow("Contact Method", contact_, radios);
    addRow("Connection Speed", connection_);
    auto* cardButtons = new QWidget(this);
    auto* cardRow = new QHBoxLayout(cardButtons);
    cardRow->setContentsMargins(0, 0, 0, 0);
    cardRow->addWidget(button(res::IDC_USER_SELECT_CARD, "Select Card", &CView1::SelectCard));
    cardRow->addWidget(button(res::IDC_USER_REMOVE_CARD, "Remove Card", &CView1::RemoveCard));
    addRow("Business Card", card_, cardButtons);
    addRow("All Clubs", allClubs_, button(res::IDC_USER_ADD_CLUB, "Add Club", &CView1::AddClub));
    addRow("Your Clubs", yourClubs_,
           button(res::IDC_USER_CREATE_CLUB, "Add Club", &CView1::CreateClub));
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(3, 1);

    connect(byPhone_, &QRadioButton::clicked, this, [this] { setContact("Phone"); });
    connect(byEmail_, &QRadioButton::clicked, this, [this] { setContact("Email"); });
}

void CView1::loadMember() {
    const std::string user = session().currentUserName;
    user_.Load(user);
    session().connectionType = user_.values.connection;
    // The card names a file in the products folder; a stored name reaching elsewhere is no card.
    if (const auto defaults = user.empty() ? std::nullopt : LoadRememberedDefaults(user))
        if (!plainFileIn(productsDirectory(), defaults->card).empty())
            session().cardFileName = defaults->card;

    const UserValues& v = user_.values;
    userName_->setText(qs(user));
    firstName_->setText(qs(v.firstname));
    lastName_->setText(qs(v.lastname));
    address_->setText(qs(v.address));
    city_->setText(qs(v.city));
    state_->setText(qs(v.state));
    zipcode_->setText(qs(v.zipcode));
    country_->setText(qs(v.country));
    phone_->setText(qs(v.phone));
    email_->setText(qs(v.email));
    connection_->setEditText(qs(v.connection));
    setContact(v.contact == "Email" ? "Email" : "Phone");
    card_->setText(qs(session().cardFileName));
    allClubs_->addItems(toStringList(loadClubNames().value_or(std::vector<std::string>{})));
    for (const std::string* club : {&v.club1, &v.club2})
        if (!club->empty()) yourClubs_->addItem(qs(*club));
}

void CView1::setContact(const std::string& contact) {
    contact_->setText(qs(contact));
    (contact == "Email" ? byEmail_ : byPhone_)->setChecked(true);
}

void CView1::Submit() {
    const std::string user = session().currentUserName;
    if (user.empty()) return;
    UserValues& v = user_.values;
    v.username = user;
    v.firstname = textOf(firstName_);
    v.lastname = textOf(lastName_);
    v.address = textOf(address_);
    v.city = textOf(city_);
    v.state = textOf(state_);
    v.zipcode = textOf(zipcode_);
    v.country = textOf(country_);
    v.phone = textOf(phone_);
    v.email = textOf(email_);
    v.contact = textOf(contact_);
    v.connection = textOf(connection_);
    v.club1 = yourClubs_->count() > 0 ? yourClubs_->itemText(0).toStdString() : "";
    v.club2 = yourClubs_->count() > 1 ? yourClubs_->itemText(1).toStdString() : "";
    const std::string password =
        pendingPassword_.empty() ? session().currentPassword : pendingPassword_;
    user_.password = password;
    user_.SaveOrReport();

    WaitCursor wait;
    if (!requestUpdateUser(user_.memberFields())) return;
    session().currentPassword = password;
    session().connectionType = v.connection;
    pendingPassword_.clear();
    if (!password.empty()) sendPasswordMail(password, user);
    ui().messageBox("Update Complete", "User Info Updated Successfully");
}

void CView1::ChangePassword() {
    if (session().currentUserName.empty()) return;
    CChangePasswordDlg dialog(session().currentPassword, this);
    if (ui().runModal(dialog) != kDialogOk) return;
    pendingPassword_ = dialog.newPassword();
    ui().messageBox("Password Change", "This change will not be made until Submit is pressed");
}

void CView1::SelectCard() {
    const std::string user = session().currentUserName;
    if (user.empty()) return;
    const std::string chosen = ui().openFileName();
    if (chosen.empty()) return;
    const std::optional<std::string> card = importBusinessCard(chosen);
    if (!card) return;
    card_->setText(qs(*card));
    session().cardFileName = *card;
    rememberCard(user, *card);
}

void CView1::RemoveCard() {
    const std::string user = session().currentUserName;
    if (user.empty()) return;
    card_->clear();
    session().cardFileName.clear();
    rememberCard(user, "");
}

// The chosen club becomes the first of the member's clubs, the former first the second.
void CView1::AddClub() {
    const QString chosen = allClubs_->currentText();
    if (chosen.isEmpty()) return;
    const QString former = yourClubs_->count() > 0 ? yourClubs_->itemText(0) : QString();
    yourClubs_->clear();
    yourClubs_->addItem(chosen);
    if (!former.isEmpty()) yourClubs_->addItem(former);
}

// The marketplace's club-creation page, in a "Message Center" window of its own.
void CView1::CreateClub() {
    CMessageCenterDlg::open(endpoints::createClub(session().currentUserName).address());
}

}  // namespace tl
