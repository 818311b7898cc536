#include "update/Sha256.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <openssl/evp.h>

namespace q407::update {

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    bool ok = md != nullptr && EVP_DigestInit_ex(md, EVP_sha256(), nullptr) == 1;
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256::Sha256() : m_context(std::make_unique<Context>()) {}
Sha256::~Sha256() = default;

void Sha256::Add(const void* bytes, std::size_t size) {
    m_context->ok = m_context->ok && EVP_DigestUpdate(m_context->md, bytes, size) == 1;
}

std::string Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!m_context->ok || EVP_DigestFinal_ex(m_context->md, digest, &length) != 1) {
        m_context->ok = false;
        return {}; // matches no expected digest
    }
    m_context->ok = false;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 0x0F];
    }
    return text;
}

std::optional<std::string> Sha256OfFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    Sha256 digest;
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        digest.Add(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return digest.HexDigest();
}

bool IsSha256Hex(std::string_view text) {
    return text.size() == kSha256HexLength &&
           std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return std::isxdigit(c) != 0; });
}

bool SameSha256(std::string_view a, std::string_view b) {
    return IsSha256Hex(a) && IsSha256Hex(b) &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace q407::update
