#pragma once

// Resource strings of the peer listing exchange.
namespace tl::res {

inline constexpr char kServerPortNotStartedText[] = "SERVER PORT NOT STARTED";

}  // namespace tl::res
