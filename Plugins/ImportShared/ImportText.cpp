#include "ImportText.h"

#include <openssl/crypto.h>

namespace vlt::import {

void wipe(std::string& text) {
    if (!text.empty()) {
        OPENSSL_cleanse(text.data(), text.size());
    }
    text.clear();
}

void wipe(std::u16string& text) {
    if (!text.empty()) {
        OPENSSL_cleanse(text.data(), text.size() * sizeof(char16_t));
    }
    text.clear();
}

std::u16string fromUtf16Le(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return out;
}

}  // namespace vlt::import
