#pragma once

#include <string>

namespace tl {

// Login codes.
inline constexpr int kLoginOk = 0;
inline constexpr int kLoginUnknownUser = -1;
inline constexpr int kLoginMismatch = -2;  // also a failed login request
inline constexpr int kLoginOtherReply = -3;
inline constexpr int kLoginUnreachable = -5;

// Probes the server, then asks it to check the user name and password. Shows the standard
// "Connection Error" box when the probe fails and the standard "Error" box when the login
// request fails.
int loginRequest(const std::string& user, const std::string& password);

// The support address named in the "User Warning" message.
inline constexpr char kSupportEmail[] = "support@tradeloom.example";

}  // namespace tl
