#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "engine/view/SortOrder.h"

namespace vlt {
namespace {

// The rule the orders must follow, written the slow and obvious way.
int referenceCompare(std::u16string_view a, std::u16string_view b) {
    auto fold = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (fold(a[i]) != fold(b[i])) {
            return fold(a[i]) < fold(b[i]) ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::vector<std::uint32_t> referenceOrder(const std::vector<std::u16string>& texts,
                                          bool descending) {
    std::vector<std::uint32_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = referenceCompare(texts[a], texts[b]);
        return descending ? c > 0 : c < 0;
    });
    return order;
}

std::vector<std::uint32_t> textOrder(const std::vector<std::u16string>& texts, bool descending) {
    const std::vector<std::u16string_view> views(texts.begin(), texts.end());
    return TextOrder(views, descending);
}

// Texts made to hit every path: long shared prefixes (also longer than one chunk), texts that
// are prefixes of others, letters in both cases, '_' and '[' between the cases, U+0000 inside a
// text, code units above 0x7FFF, many equal keys, and runs long enough to be radix-sorted.
std::vector<std::u16string> awkwardTexts(std::mt19937& random, std::size_t count) {
    const std::u16string alphabet = u"aAbBzZ_[\u00e9\u00c9\uFFFF";
    const std::u16string stems[] = {u"", u"account ", u"https://www.example.org/", u"ab"};
    std::vector<std::u16string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::u16string text = stems[random() % 4];
        const std::size_t length = random() % 11;
        for (std::size_t j = 0; j < length; ++j) {
            text += random() % 23 == 0 ? u'\0' : alphabet[random() % alphabet.size()];
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

TEST(SortOrder, TextOrderMatchesTheStableReferenceSortInBothDirections) {
    std::mt19937 random(7);
    for (std::size_t count : {0u, 1u, 2u, 31u, 33u, 500u, 20000u}) {
        const auto texts = awkwardTexts(random, count);
        for (bool descending : {false, true}) {
            ASSERT_EQ(textOrder(texts, descending), referenceOrder(texts, descending))
                << count << (descending ? " descending" : " ascending");
        }
    }
}

TEST(SortOrder, EqualTextsKeepTheirOrderInLargeRuns) {
    // Thousands of texts equal but for letter case (and empty ones): each run must stay in
    // its previous order, so the order is the identity within each key.
    std::vector<std::u16string> texts;
    for (int i = 0; i < 3000; ++i) {
        texts.push_back(i % 3 == 0 ? u"" : (i % 2 ? u"Same Key" : u"same KEY"));
    }
    for (bool descending : {false, true}) {
        EXPECT_EQ(textOrder(texts, descending), referenceOrder(texts, descending));
    }
}

TEST(SortOrder, NumberOrderIsSignedAndStable) {
    std::mt19937 random(3);
    std::vector<std::int32_t> numbers = {5, INT32_MIN, -5, 0, 5, INT32_MAX, -1};
    for (int i = 0; i < 5000; ++i) {
        numbers.push_back(static_cast<std::int32_t>(random()) >> (random() % 32));
    }
    for (bool descending : {false, true}) {
        std::vector<std::uint32_t> expected(numbers.size());
        std::iota(expected.begin(), expected.end(), 0u);
        std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
            return descending ? numbers[a] > numbers[b] : numbers[a] < numbers[b];
        });
        EXPECT_EQ(NumberOrder(numbers, descending), expected);
    }
}

}  // namespace
}  // namespace vlt
