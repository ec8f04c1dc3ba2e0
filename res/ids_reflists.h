#pragma once

// Resource ids of the reference lists: the category picker. Its "Select" and "Cancel" buttons
// are the standard OK (1) and Cancel (2) of ids_app.h.
namespace tl::res {

inline constexpr int IDD_CATEGORY = 203;
inline constexpr int IDC_CATEGORY_TREE = 1001;
inline constexpr int IDC_CATEGORY_SUGGESTION = 1002;

}  // namespace tl::res
