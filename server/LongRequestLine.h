#pragma once

#include <cstddef>
#include <string>

namespace tl::market {

// The HTTP library refuses request lines over 8,192 bytes (the limit is built into it), shorter
// than the longest new listing the client sends: a 100-character title and 1,024 characters of
// description, each of four bytes and so twelve characters percent-encoded, and every other
// field at its most, about 16 KiB. A longer GET line of at most kMaxRequestLine bytes is
// therefore rewritten before the library reads it: into a POST of the same path whose body is
// the query (as plain bytes: the library bounds form bodies to 8,192 bytes too). The dispatcher
// then reads the query back from the body and serves the GET it was. Longer lines, and GETs that
// carry a body of their own, are left to the library to refuse.
inline constexpr std::size_t kMaxRequestLine = 32 * 1024;

// Rewrites the request whose whole head starts the buffer, as above; true when it did.
bool moveLongQueryToBody(std::string& buffer);

}  // namespace tl::market
