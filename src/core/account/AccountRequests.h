#pragma once

#include <string>

#include "core/service/Endpoints.h"

namespace tl {

enum class NewUserReply { Created, Taken, Failed };

// Probes the server, then asks it to create the account. A failed probe shows the standard
// "Connection Error" box and a failed request "Add User Error"; both give Failed.
NewUserReply requestNewUser(const endpoints::MemberFields& member);

// Sends the member's profile. True only when the server took it; otherwise shows "User
// Information Not Update".
bool requestUpdateUser(const endpoints::MemberFields& member);

// Asks the server to mail the member's password; 1 when sent, 0 after the standard
// "Connection Error" box.
int sendPasswordMail(const std::string& password, const std::string& user);

// The login dialog's lost-password request: probes the server, asks it to mail a password for
// the user name and shows what it answered.
void requestLostPassword(const std::string& user);

}  // namespace tl
