#pragma once
// The generator's logic, without Qt: passes over the character classes, each drawing from an
// injected random source, so tests can script every draw.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vlt::dicebox {

// Where the draws come from.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // An integer from 0 to n inclusive, every value equally likely.
    virtual std::uint32_t Random(std::uint32_t n) = 0;
};

// The operating system's cryptographic source (OpenSSL's RAND_bytes), unbiased by rejection.
// Its buffer of unused bytes is wiped when it goes.
class CryptoRandom : public RandomSource {
  public:
    CryptoRandom() = default;
    CryptoRandom(const CryptoRandom&) = delete;
    CryptoRandom& operator=(const CryptoRandom&) = delete;
    ~CryptoRandom() override;
    std::uint32_t Random(std::uint32_t n) override;

  private:
    std::uint32_t next32();
    std::array<std::uint8_t, 1024> pool_{};
    std::size_t used_ = pool_.size();
};

// The character classes in the order a pass visits them.
enum CharClass {
    UpperCase,
    LowerCase,
    Numbers,
    MathSigns,
    Spaces,
    Special,
    Brackets,
    OtherAnsi,
    ClassCount
};

// Flags as the window passes them: a class takes part when its flag equals 1.
using ClassFlags = std::array<int, ClassCount>;

constexpr int kMaxLength = 256;

// An integer between two bounds inclusive, the bounds in either order.
int RandomBetween(RandomSource& random, int a, int b);

// The inputs the old 32-bit seed was made of. The generator no longer seeds from them (they are
// guessable); the function is kept for files and tools that still compute it.
struct SeedInputs {
    std::u16string clipboardText;
    std::int32_t tickCount = 0;
    std::int32_t unixTime = 0;
    int cursorX = 0;
    int cursorY = 0;
    int screenWidth = 0;
    int screenHeight = 0;
};
// CRC-32 of the joined text (the first 128 clipboard characters, then the numbers in decimal)
// as UTF-16LE bytes including the terminating NUL.
std::uint32_t MakeRandomSeed(const SeedInputs& inputs);

// Results of GeneratePassword.
enum GenerateResult {
    Generated = 0,
    // Nothing to draw from: every class off, or an empty custom set. Either would make the
    // passes run for ever.
    NothingToDraw = 1,
};

// Makes a password of exactly `length` characters (0..kMaxLength) into `password`. mode 1 draws
// from the classes whose flag is 1, mode 0 from `customSet` (code points, as typed, spaces
// included). A length out of range is clamped. On NothingToDraw `password` is left empty.
int GeneratePassword(RandomSource& random, int length, int mode, std::u16string_view customSet,
                     const ClassFlags& flags, std::u16string& password);

// True when the custom set holds more than spaces.
bool HasCustomCharacters(std::u16string_view customSet);

}  // namespace vlt::dicebox
