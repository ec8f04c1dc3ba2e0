#include "core/account/AccountRequests.h"

#include "core/platform/Ui.h"
#include "core/service/ServiceRequest.h"

namespace tl {

NewUserReply requestNewUser(const endpoints::MemberFields& member) {
    if (!probeServer(endpoints::kRegistrationProbe)) {
        showNetworkError();
        return NewUserReply::Failed;
    }
    try {
        return requestText(endpoints::newUser(member)) == "0" ? NewUserReply::Created
                                                              : NewUserReply::Taken;
    } catch (const RequestError&) {
        ui().messageBox("Add User Error", "There was a problem adding new user.");
        return NewUserReply::Failed;
    }
}

bool requestUpdateUser(const endpoints::MemberFields& member) {
    try {
        if (requestText(endpoints::updateUser(member)) == "0") return true;
    } catch (const RequestError&) {
    }
    ui().messageBox(kErrorCaption, "User Information Not Update");
    return false;
}

int sendPasswordMail(const std::string& password, const std::string& user) {
    return sendNotificationOrReport(endpoints::sendPassword(password, user));
}

void requestLostPassword(const std::string& user) {
    if (!probeServer(endpoints::kProbe)) {
        showNetworkError();
        return;
    }
    const std::optional<std::string> reply = requestTextOrReport(endpoints::forgotPassword(user));
    if (reply == "-1")
        ui().messageBox(kErrorCaption,
                        "Enter your valid User Name, Password will be mailed to your registered "
                        "Email.");
    else if (reply == "1")
        ui().messageBox("Tradeloom Lost Password",
                        "Your password has been sent to your registered email address",
                        MessageButtons::Ok, MessageIcon::Information);
}

}  // namespace tl
