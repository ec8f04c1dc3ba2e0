#pragma once

#include <string>

#include "core/account/CUserXml.h"
#include "gui/widgets/FormPane.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tl {

// The user-information pane: the member's profile, clubs and business card. Building it starts
// the session (the reference lists are refreshed and the member logs in), then loads the
// member's user document and remembered card into the form and the session.
class CView1 : public FormPane {
    Q_OBJECT
public:
    explicit CView1(QWidget* parent = nullptr);

    void Submit();
    void ChangePassword();
    void SelectCard();
    void RemoveCard();
    void AddClub();
    void CreateClub();

private:
    void buildForm();
    void loadMember();
    void setContact(const std::string& contact);

    QLineEdit *userName_, *firstName_, *lastName_, *address_, *city_, *state_, *zipcode_, *country_,
        *phone_, *email_, *contact_, *card_;
    QRadioButton *byPhone_, *byEmail_;
    QComboBox *connection_, *allClubs_, *yourClubs_;
    CUserXml user_;
    std::string pendingPassword_;  // goes to the server with the next update
};

}  // namespace tl
