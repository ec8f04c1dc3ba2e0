#pragma once

// Resource ids and strings of the peer listing exchange.
namespace tl::res {

// The "Downloading" dialog; its "Cancel" is the standard Cancel (2) of ids_app.h.
inline constexpr int IDD_DOWNLOADING = 187;
inline constexpr int IDC_DOWNLOAD_PROGRESS = 1000;
inline constexpr int IDC_DOWNLOAD_TEXT = 1001;

}  // namespace tl::res
