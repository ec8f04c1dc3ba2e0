#include "PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

#include "Digest.h"

namespace tl::market {
namespace {

constexpr int kIterations = 20000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

std::vector<unsigned char> randomBytes(int count) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
    if (RAND_bytes(bytes.data(), count) != 1) throw std::runtime_error("no random bytes");
    return bytes;
}

std::string toHex(const std::vector<unsigned char>& bytes) {
    return hexText(bytes.data(), bytes.size());
}

std::vector<unsigned char> fromHex(const std::string& text) {
    std::vector<unsigned char> out;
    if (text.size() % 2) return out;
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = value(text[i]), low = value(text[i + 1]);
        if (high < 0 || low < 0) return {};
        out.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return out;
}

std::vector<unsigned char> derive(const std::string& password,
                                  const std::vector<unsigned char>& salt, int iterations) {
    std::vector<unsigned char> hash(kHashBytes);
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(), kHashBytes,
                          hash.data()) != 1)
        throw std::runtime_error("password hashing failed");
    return hash;
}

}  // namespace

std::string hashPassword(const std::string& password) {
    const auto salt = randomBytes(kSaltBytes);
    return "pbkdf2-sha256$" + std::to_string(kIterations) + "$" + toHex(salt) + "$" +
           toHex(derive(password, salt, kIterations));
}

bool passwordMatchesHash(const std::string& password, const std::string& stored) {
    const std::string prefix = "pbkdf2-sha256$";
    if (stored.compare(0, prefix.size(), prefix) != 0) return false;
    const auto first = stored.find('$', prefix.size());
    const auto second = first == std::string::npos ? first : stored.find('$', first + 1);
    if (second == std::string::npos) return false;
    int iterations = 0;
    try {
        iterations = std::stoi(stored.substr(prefix.size(), first - prefix.size()));
    } catch (const std::exception&) {
        return false;
    }
    const auto salt = fromHex(stored.substr(first + 1, second - first - 1));
    const auto expected = fromHex(stored.substr(second + 1));
    if (iterations <= 0 || salt.empty() || expected.size() != kHashBytes) return false;
    const auto actual = derive(password, salt, iterations);
    return CRYPTO_memcmp(actual.data(), expected.data(), kHashBytes) == 0;
}

std::string temporaryPassword() {
    static const char alphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string out;
    for (const unsigned char b : randomBytes(10)) out += alphabet[b % (sizeof alphabet - 1)];
    return out;
}

}  // namespace tl::market
