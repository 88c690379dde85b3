#pragma once
// Finding entries by text: the find window's search, and find-next continuing after the last hit.
// A hit selects its entry's group in the tree and its row in the entry list.

#include <cstdint>
#include <string_view>

#include "engine/settings/Settings.h"

namespace vlt {

struct Engine;
struct Vault;

// One UTF-16 unit in small letters, unit by unit as the search compares texts: the capitals of
// the Latin, Greek, Cyrillic and Armenian alphabets and the full-width Latin ones; every other
// unit (surrogates included) stays as it is.
char16_t FoldCase(char16_t unit);

// Whether `needle` occurs in `text`, unit by unit; without case sensitivity both are compared in
// small letters, and `needle` must already be so (FoldCase). An empty text or needle never does.
bool ContainsText(std::u16string_view text, std::u16string_view needle, bool caseSensitive);

// The index of the first entry from index `start` on that `search` hits, -1 when none does. An
// entry is hit when one of the fields the search names contains its text; with SearchExpired off
// the entries expired at `now` are passed over. Reads the vault only.
int FindEntry(const Vault& vault, const SearchOptions& search, int start, std::int32_t now);

// Runs the engine's active search on from the last hit (from the first entry after the find
// window opened). A hit selects its group and its row (none when the list's view filter hides
// it) and returns 1. Otherwise it says so, "No matching entries found." for `first` 1 (the find
// window), "No more matching entries found." for 0 (find-next), and returns 0: it never starts
// over from the top.
int FindNextEntry(Engine& engine, int first);

// The find window: filled from the stored search options, it searches on each Search press and
// closes on the first hit or on Cancel, leaving what it showed in the stored options. 0.
int OpenFindWindow(Engine& engine);

}  // namespace vlt
