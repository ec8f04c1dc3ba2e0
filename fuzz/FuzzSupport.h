#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/peer/TransferProtocol.h"

// Shared pieces of the fuzz targets.
namespace tl::fuzz {

// The fuzzer's input as text.
inline std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// A connection whose peer sends the given bytes and closes. The first byte sets how the rest is
// cut into receives (1 to 16 bytes, or whole), as a network may cut a stream anywhere.
class ScriptedChannel : public ByteChannel {
public:
    explicit ScriptedChannel(std::string_view input);
    bool sendAll(std::string_view) override { return true; }
    long receiveSome(char* buffer, std::size_t size) override;

private:
    std::string_view left_;
    std::size_t piece_;
};

// A program directory of this process's own under $TMPDIR (else /tmp), made on the first call,
// set as the program's and removed when the process exits normally; ends with '/'.
const std::string& fuzzHome();

// Replaces a file under fuzzHome() (folders made as needed); its full path.
std::string writeHomeFile(const std::string& relative, const std::string& bytes);

// Aborts, so the fuzzer keeps the input, when a property that must hold does not.
void require(bool holds, const char* what);

// Whether a path, once its "." and ".." steps are resolved, still lies in folder (which ends
// with '/').
bool staysIn(const std::string& path, const std::string& folder);

}  // namespace tl::fuzz
