#include "core/platform/Sha256.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>
#include <vector>

namespace tl {
namespace {

using Context = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

Context startDigest() {
    Context context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) context.reset();
    return context;
}

std::optional<std::string> finishDigest(EVP_MD_CTX* context) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context, digest, &length) != 1) return std::nullopt;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    const Context context = startDigest();
    if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return {};
    return finishDigest(context.get()).value_or(std::string());
}

std::optional<std::string> fileSha256Hex(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const Context context = startDigest();
    if (!file || !context) return std::nullopt;
    std::vector<char> block(1 << 16);
    while (file) {
        file.read(block.data(), static_cast<std::streamsize>(block.size()));
        const std::streamsize got = file.gcount();
        if (got > 0 && EVP_DigestUpdate(context.get(), block.data(), static_cast<size_t>(got)) != 1)
            return std::nullopt;
    }
    if (file.bad()) return std::nullopt;
    return finishDigest(context.get());
}

bool isSha256Hex(std::string_view text) {
    if (text.size() != 64) return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace tl
