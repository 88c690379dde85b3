#pragma once
// The analyzer's scoring, without Qt. Texts are UTF-16; kinds are told by code unit: A-Z, a-z,
// 0-9 and the symbols ! through /. Any other character counts in the length only.

#include <string>
#include <string_view>

namespace vlt::gaugebox {

int CountLetters(std::u16string_view text);
int CountLowerCase(std::u16string_view text);
int CountUpperCase(std::u16string_view text);
int CountDigits(std::u16string_view text);
int CountSymbols(std::u16string_view text);

// The number of characters minus the number of positions, visited left to right, at which no
// block of 1..n characters is immediately repeated; a repeat moves the walk past its first block.
int CountRepeats(std::u16string_view text, int n);

// Weights by position: the first character 2, the 2nd to 8th 1 each, the 9th to 20th 0.75,
// the rest 0.5; summed in single precision.
float PositionBonus(std::u16string_view text);

// The outcome shown in the window.
struct Strength {
    int points = 0;  // the score, negative raised to 0, no upper cap
    int bar = 0;     // the points capped at 100
    std::u16string verdict;
};

// Scores a text already trimmed of leading and trailing spaces.
Strength AnalyzePassword(std::u16string_view text);

}  // namespace vlt::gaugebox
