#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

class QComboBox;
class QLineEdit;

namespace tl {

struct RegistrationForm;

// A new member's account form. It ends with OK only once the server has created the account.
class CRegistrationDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CRegistrationDlg(QWidget* parent = nullptr);

    // The user name the server accepted.
    const std::string& registeredUserName() const { return registered_; }

    void onSubmit();

private:
    RegistrationForm readForm() const;
    void writeBack(const RegistrationForm& form);

    QLineEdit *userName_, *password_, *password2_, *firstName_, *lastName_, *address_, *city_,
        *zipcode_, *country_, *phone_, *email_;
    QComboBox *state_, *connection_, *club1_, *club2_;
    std::string contact_ = "Email";
    std::string registered_;
};

}  // namespace tl
