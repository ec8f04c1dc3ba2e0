#pragma once

#include "ids_frame.h"  // the message centre pane's template: IDD_MESSAGECENTER (300)

// Resource ids of the message pages.
namespace tl::res {

inline constexpr int IDD_MESSAGECENTERDLG = 295;  // the free-standing "Message Center" window
inline constexpr int IDC_MESSAGE_BROWSER = 1092;  // the browser of the pane and of the window

}  // namespace tl::res
