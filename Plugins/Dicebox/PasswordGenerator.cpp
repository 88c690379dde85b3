#include "PasswordGenerator.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace vlt::dicebox {

CryptoRandom::~CryptoRandom() {
    OPENSSL_cleanse(pool_.data(), pool_.size());
}

std::uint32_t CryptoRandom::next32() {
    if (used_ + 4 > pool_.size()) {
        if (RAND_bytes(pool_.data(), static_cast<int>(pool_.size())) != 1) {
            // No randomness means no password; the window reports the failure.
            throw std::runtime_error("RAND_bytes failed");
        }
        used_ = 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value = (value << 8) | pool_[used_];
        pool_[used_++] = 0;
    }
    return value;
}

std::uint32_t CryptoRandom::Random(std::uint32_t n) {
    if (n == UINT32_MAX) {
        return next32();
    }
    const std::uint64_t range = std::uint64_t{n} + 1;
    // The largest multiple of range that fits: values at or above it would favour the low ones.
    const std::uint64_t limit = (std::uint64_t{1} << 32) / range * range;
    std::uint64_t value = 0;
    do {
        value = next32();
    } while (value >= limit);
    return static_cast<std::uint32_t>(value % range);
}

int RandomBetween(RandomSource& random, int a, int b) {
    const int low = std::min(a, b);
    return low + static_cast<int>(random.Random(static_cast<std::uint32_t>(std::abs(b - a))));
}

namespace {

void appendDecimal(std::u16string& text, long long value) {
    for (const char c : std::to_string(value)) {
        text.push_back(static_cast<char16_t>(c));
    }
}

}  // namespace

std::uint32_t MakeRandomSeed(const SeedInputs& inputs) {
    std::u16string text = inputs.clipboardText.substr(0, 128);
    appendDecimal(text, inputs.tickCount);
    appendDecimal(text, inputs.unixTime);
    appendDecimal(text, inputs.cursorX);
    appendDecimal(text, inputs.cursorY);
    appendDecimal(text, inputs.screenWidth);
    appendDecimal(text, inputs.screenHeight);
    std::vector<unsigned char> bytes;
    bytes.reserve(2 * text.size() + 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    const uLong crc = crc32(0L, bytes.data(), static_cast<uInt>(bytes.size()));
    OPENSSL_cleanse(bytes.data(), bytes.size());
    OPENSSL_cleanse(text.data(), text.size() * sizeof(char16_t));
    return static_cast<std::uint32_t>(crc);
}

bool HasCustomCharacters(std::u16string_view customSet) {
    return customSet.find_first_not_of(u' ') != std::u16string_view::npos;
}

namespace {

void appendCodePoint(std::u16string& text, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        text.push_back(static_cast<char16_t>(c));
    }
}

// The set's code points; a surrogate pair is one character, a lone surrogate is kept as it is.
std::u32string codePoints(std::u16string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            points.push_back(0x10000 + ((char32_t{unit} - 0xD800) << 10) +
                             (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else {
            points.push_back(unit);
        }
    }
    return points;
}

// A class adds a character in a pass when the first draw gives 0 and the second 1.
bool passAdmits(RandomSource& random) {
    return random.Random(1) == 0 && random.Random(1) == 1;
}

char16_t drawFromClass(RandomSource& random, int cls) {
    switch (cls) {
        case UpperCase:
            return static_cast<char16_t>(RandomBetween(random, 65, 90));
        case LowerCase:
            return static_cast<char16_t>(RandomBetween(random, 97, 122));
        case Numbers:
            return static_cast<char16_t>(RandomBetween(random, 48, 57));
        case MathSigns:
            return u"*+-/="[random.Random(4)];
        case Spaces:
            return u' ';
        case Special:
            switch (random.Random(5)) {
                case 0:
                    return static_cast<char16_t>(RandomBetween(random, 33, 39));
                case 1:
                    return static_cast<char16_t>(RandomBetween(random, 58, 64));
                case 2:
                    return u'\\';
                case 3:
                    return static_cast<char16_t>(RandomBetween(random, 94, 96));
                case 4:
                    return u'|';
                default:
                    return u'~';
            }
        case Brackets:
            switch (random.Random(4)) {
                case 0:
                    return static_cast<char16_t>(RandomBetween(random, 40, 41));
                case 1:
                    return u'[';
                case 2:
                    return u']';
                case 3:
                    return u'{';
                default:
                    return u'}';
            }
        default:
            return static_cast<char16_t>(RandomBetween(random, 192, 255));
    }
}

}  // namespace

int GeneratePassword(RandomSource& random, int length, int mode, std::u16string_view customSet,
                     const ClassFlags& flags, std::u16string& password) {
    password.clear();
    length = std::clamp(length, 0, kMaxLength);
    // Room for the longest result up front: growing would leave copies of a part behind.
    password.reserve(2 * static_cast<std::size_t>(length));
    if (mode == 1) {
        if (length > 0 && std::none_of(flags.begin(), flags.end(), [](int f) { return f == 1; })) {
            return NothingToDraw;
        }
        const auto wanted = static_cast<std::size_t>(length);
        do {
            for (int cls = 0; cls < ClassCount; ++cls) {
                if (flags[cls] == 1 && passAdmits(random) && password.size() < wanted) {
                    password.push_back(drawFromClass(random, cls));
                }
            }
        } while (password.size() < wanted);
        return Generated;
    }
    std::u32string set = codePoints(customSet);
    if (length > 0 && set.empty()) {
        return NothingToDraw;
    }
    // Characters, not units: one drawn outside the BMP takes two.
    int count = 0;
    do {
        if (passAdmits(random) && count < length) {
            const int position = RandomBetween(random, 1, static_cast<int>(set.size()));
            appendCodePoint(password, set[static_cast<std::size_t>(position - 1)]);
            ++count;
        }
    } while (count < length);
    OPENSSL_cleanse(set.data(), set.size() * sizeof(char32_t));
    return Generated;
}

}  // namespace vlt::dicebox
