#include "StrengthScore.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace vlt::gaugebox {

namespace {

bool isUpper(char16_t c) {
    return c >= u'A' && c <= u'Z';
}
bool isLower(char16_t c) {
    return c >= u'a' && c <= u'z';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isSymbol(char16_t c) {
    return c >= u'!' && c <= u'/';
}

template <typename Kind>
int countOf(std::u16string_view text, Kind kind) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), kind));
}

// Up to k characters from the 1-based position p; fewer or none past the end.
std::u16string_view mid(std::u16string_view text, std::size_t p, std::size_t k) {
    if (p > text.size()) {
        return {};
    }
    return text.substr(p - 1, k);
}

const char16_t* verdictFor(int bar) {
    if (bar <= 15) {
        return u"The password is very weak (";
    }
    if (bar <= 30) {
        return u"The password is weak (";
    }
    if (bar <= 45) {
        return u"The password is mediocre (";
    }
    if (bar <= 60) {
        return u"The password is reasonable (";
    }
    if (bar <= 75) {
        return u"The password is strong (";
    }
    return u"The password is very strong (";
}

}  // namespace

int CountLetters(std::u16string_view text) {
    return countOf(text, [](char16_t c) { return isUpper(c) || isLower(c); });
}
int CountLowerCase(std::u16string_view text) {
    return countOf(text, isLower);
}
int CountUpperCase(std::u16string_view text) {
    return countOf(text, isUpper);
}
int CountDigits(std::u16string_view text) {
    return countOf(text, isDigit);
}
int CountSymbols(std::u16string_view text) {
    return countOf(text, isSymbol);
}

int CountRepeats(std::u16string_view text, int n) {
    int count = 0;
    std::size_t i = 1;
    while (i <= text.size()) {
        bool found = false;
        for (std::size_t j = 1; j <= static_cast<std::size_t>(std::max(n, 0)); ++j) {
            if (mid(text, i, j) == mid(text, i + j, j)) {
                found = true;
                i = i + j - 1;
            }
        }
        if (!found) {
            ++count;
        }
        ++i;
    }
    return static_cast<int>(text.size()) - count;
}

float PositionBonus(std::u16string_view text) {
    float sum = 0.0F;
    for (std::size_t k = 1; k <= text.size(); ++k) {
        if (k == 1) {
            sum += 2.0F;
        } else if (k <= 8) {
            sum += 1.0F;
        } else if (k <= 20) {
            sum += 0.75F;
        } else {
            sum += 0.5F;
        }
    }
    return sum;
}

Strength AnalyzePassword(std::u16string_view text) {
    Strength result;
    if (text.size() <= 4) {
        result.verdict = u"The password is too short";
        return result;
    }
    std::u16string core;
    std::copy_if(text.begin(), text.end(), std::back_inserter(core),
                 [](char16_t c) { return c != u' '; });
    const int length = static_cast<int>(core.size());
    int score = 4 * length;
    for (int n = 1; n <= 5; ++n) {
        score -= CountRepeats(core, n);
    }
    const int letters = CountLetters(core);
    const int lower = CountLowerCase(core);
    const int upper = CountUpperCase(core);
    const int digits = CountDigits(core);
    const int symbols = CountSymbols(core);
    score += digits >= 3 ? 5 : 0;
    score += symbols >= 2 ? 5 : 0;
    score += upper > 0 && lower > 0 ? 7 : 0;
    score += digits > 0 && letters > 0 ? 7 : 0;
    score += digits > 0 && symbols > 0 ? 7 : 0;
    score += symbols > 0 && letters > 0 ? 5 : 0;
    score -= letters == length ? 10 : 0;
    score -= lower == length ? 10 : 0;
    score -= upper == length ? 10 : 0;
    score -= digits == length ? 10 : 0;
    // Halves go to the even neighbour (the default rounding mode).
    const auto rounded =
        static_cast<int>(std::nearbyint(PositionBonus(core) + static_cast<float>(score)));
    OPENSSL_cleanse(core.data(), core.size() * sizeof(char16_t));
    result.points = std::max(rounded, 0);
    result.bar = std::min(result.points, 100);
    result.verdict = verdictFor(result.bar);
    for (const char c : std::to_string(result.points)) {
        result.verdict.push_back(static_cast<char16_t>(c));
    }
    result.verdict += u" points)";
    return result;
}

}  // namespace vlt::gaugebox
