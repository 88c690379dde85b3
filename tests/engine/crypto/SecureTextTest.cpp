#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "engine/crypto/SecureText.h"
#include "engine/vault/Records.h"

namespace vlt {
namespace {

// Hands out heap blocks and looks into each one as it comes back, while it is still allocated.
struct InspectingAllocator {
    using value_type = char16_t;
    static inline int handedOut = 0;
    static inline int givenBack = 0;
    static inline int givenBackUnwiped = 0;

    char16_t* allocate(std::size_t n) {
        ++handedOut;
        return std::allocator<char16_t>().allocate(n);
    }
    void deallocate(char16_t* block, std::size_t n) {
        ++givenBack;
        if (std::any_of(block, block + n, [](char16_t c) { return c != 0; })) {
            ++givenBackUnwiped;
        }
        std::allocator<char16_t>().deallocate(block, n);
    }
};
using InspectedText = BasicSecureText<InspectingAllocator>;

// A secret must never become an ordinary string behind the code's back.
static_assert(!std::is_base_of_v<std::u16string, SecureText>);
static_assert(!std::is_convertible_v<const SecureText&, std::u16string>);
static_assert(!std::is_convertible_v<const SecureText&, std::u16string_view>);

TEST(SecureText, EveryBlockItLetsGoIsWipedFirst) {
    {
        InspectedText original(u"correct horse battery");
        InspectedText copy = original;
        InspectedText moved = std::move(copy);
        EXPECT_TRUE(copy.empty());  // its block went along with the move
        EXPECT_EQ(copy.data(), nullptr);

        InspectedText assigned(u"an older and much longer secret");
        assigned = original;
        EXPECT_TRUE(assigned == u"correct horse battery");
        assigned = std::u16string_view(u"x");
        moved = std::move(assigned);  // moved's own block goes
        EXPECT_TRUE(moved == u"x");
        assigned = moved;  // a moved-from text takes a new value
        EXPECT_TRUE(assigned == moved);

        // A view into the text itself is copied before the old block goes.
        original = original.view().substr(8);
        EXPECT_TRUE(original == u"horse battery");
        const InspectedText& same = original;
        original = same;
        EXPECT_TRUE(original == u"horse battery");

        InspectedText filled = InspectedText::withLength(3);
        EXPECT_TRUE(filled == std::u16string_view(u"\0\0\0", 3));
        std::copy_n(u"pin", 3, filled.data());
        EXPECT_TRUE(filled == u"pin");
        filled.clear();
        EXPECT_TRUE(filled.empty());
    }
    EXPECT_GT(InspectingAllocator::givenBack, 5);
    EXPECT_EQ(InspectingAllocator::givenBack, InspectingAllocator::handedOut);
    EXPECT_EQ(InspectingAllocator::givenBackUnwiped, 0);
}

TEST(SecureText, RecordsCopyTheirPasswordWithThem) {
    Entry a;
    a.Password = std::u16string(u"xyz");
    Entry b = a;
    a.Password.clear();
    EXPECT_TRUE(b.Password == u"xyz");
    EXPECT_TRUE(a.Password.empty());
}

}  // namespace
}  // namespace vlt
