#include "engine/view/Find.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "engine/container/OrderedWork.h"
#include "engine/vault/Engine.h"
#include "engine/view/EntryList.h"
#include "engine/view/EntryRows.h"

namespace vlt {

namespace {

// Ranges of capitals: [first, last] map to unit + offset, every unit or every second one.
struct FoldRange {
    char16_t first;
    char16_t last;
    int offset;
    int step;
};

constexpr std::array<FoldRange, 27> kFoldRanges{{
    {0x0041, 0x005A, 32, 1},    // A-Z
    {0x00C0, 0x00D6, 32, 1},    // Latin-1 capitals before the multiplication sign
    {0x00D8, 0x00DE, 32, 1},    // and after it
    {0x0100, 0x012E, 1, 2},     // Latin Extended-A pairs
    {0x0130, 0x0130, -199, 1},  // I with dot above to i
    {0x0132, 0x0136, 1, 2},    {0x0139, 0x0147, 1, 2},  {0x014A, 0x0176, 1, 2},
    {0x0178, 0x0178, -121, 1},  // Y with diaeresis
    {0x0179, 0x017D, 1, 2},    {0x01CD, 0x01DB, 1, 2},  {0x01DE, 0x01EE, 1, 2},
    {0x01F8, 0x021E, 1, 2},    {0x0386, 0x0386, 38, 1},  // Greek
    {0x0388, 0x038A, 37, 1},   {0x038C, 0x038C, 64, 1}, {0x038E, 0x038F, 63, 1},
    {0x0391, 0x03A1, 32, 1},   {0x03A3, 0x03AB, 32, 1}, {0x0400, 0x040F, 80, 1},  // Cyrillic
    {0x0410, 0x042F, 32, 1},   {0x0460, 0x0480, 1, 2},  {0x048A, 0x04BE, 1, 2},
    {0x04D0, 0x052E, 1, 2},    {0x0531, 0x0556, 48, 1},  // Armenian
    {0x1E00, 0x1EFE, 1, 2},   // Latin Extended Additional (a few odd ones included)
    {0xFF21, 0xFF3A, 32, 1},  // full-width A-Z
}};

// All 65,536 units folded once, so that the scan costs one table look-up per unit; and for each
// small letter its capital, so that the scan can look for the first unit of the text in both
// forms at once. `shared` marks the small letters that more than one capital folds to.
struct FoldTable {
    std::array<char16_t, 0x10000> units{};
    std::array<char16_t, 0x10000> capital{};
    std::vector<bool> shared = std::vector<bool>(0x10000, false);
    FoldTable() {
        for (std::size_t u = 0; u < units.size(); ++u) {
            units[u] = static_cast<char16_t>(u);
        }
        for (const FoldRange& r : kFoldRanges) {
            for (int u = r.first; u <= r.last; u += r.step) {
                units[static_cast<std::size_t>(u)] = static_cast<char16_t>(u + r.offset);
            }
        }
        // The odd units of the Latin Extended Additional block that are no capitals.
        for (char16_t u : {u'\u1E96', u'\u1E98', u'\u1E9A', u'\u1E9C', u'\u1E9E'}) {
            units[u] = u;
        }
        for (std::size_t u = 0; u < units.size(); ++u) {
            const char16_t small = units[u];
            if (small != u) {
                shared[small] = shared[small] || capital[small] != 0;
                capital[small] = static_cast<char16_t>(u);
            }
        }
    }
};

const FoldTable& foldTable() {
    static const FoldTable table;
    return table;
}

// The index of the first unit of `text` from `from` on that is `a` or `b`, text.size() for none.
// Four units are tested at a time: a 16-bit lane of a word is zero exactly where the unit is.
std::size_t findEither(std::u16string_view text, std::size_t from, char16_t a, char16_t b) {
    constexpr std::uint64_t kOnes = 0x0001000100010001;
    constexpr std::uint64_t kHighs = 0x8000800080008000;
    const std::uint64_t wordA = a * kOnes;
    const std::uint64_t wordB = b * kOnes;
    std::size_t i = from;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        const std::uint64_t xa = word ^ wordA;
        const std::uint64_t xb = word ^ wordB;
        if ((((xa - kOnes) & ~xa) | ((xb - kOnes) & ~xb)) & kHighs) {
            break;
        }
    }
    for (; i < text.size(); ++i) {
        if (text[i] == a || text[i] == b) {
            return i;
        }
    }
    return text.size();
}

bool containsFolded(std::u16string_view text, std::u16string_view needle) {
    const FoldTable& table = foldTable();
    const auto& fold = table.units;
    const char16_t head = needle.front();
    const std::size_t last = text.size() - needle.size();
    // A head with a single capital is looked for in both forms; one that several capitals fold
    // to is compared folded, unit by unit.
    const bool quick = !table.shared[head] && fold[head] == head;
    const char16_t other = table.capital[head] != 0 ? table.capital[head] : head;
    for (std::size_t i = 0; i <= last; ++i) {
        if (quick) {
            i = findEither(text, i, head, other);
            if (i > last) {
                return false;
            }
        } else if (fold[text[i]] != head) {
            continue;
        }
        std::size_t k = 1;
        while (k < needle.size() && fold[text[i + k]] == needle[k]) {
            ++k;
        }
        if (k == needle.size()) {
            return true;
        }
    }
    return false;
}

bool entryHit(const Entry& entry, const SearchOptions& search, std::u16string_view needle) {
    const bool cs = search.CaseSensitive == 1;
    return (search.SearchAccounts == 1 && ContainsText(entry.Account, needle, cs)) ||
           (search.SearchUsers == 1 && ContainsText(entry.User, needle, cs)) ||
           (search.SearchPassword == 1 && ContainsText(entry.Password.view(), needle, cs)) ||
           (search.SearchURLs == 1 && ContainsText(entry.URL, needle, cs)) ||
           (search.SearchAttachments == 1 && ContainsText(entry.AttachmentNames, needle, cs)) ||
           (search.SearchComments == 1 && ContainsText(entry.Comment, needle, cs));
}

// Where a find-next starts: after the last hit. When entries were removed or moved since, the
// hit is looked up by its ID; when it has gone, the search goes on at the index it stood at
// (where its successor now stands), never past the end.
int resumeIndex(const Engine& engine) {
    const RecordList<Entry>& entries = engine.vault.Entries;
    const int at = engine.SearchPosition;
    if (at < 0) {
        return 0;
    }
    if (at < entries.count() && entries.at(at).ID == engine.SearchHitID) {
        return at + 1;
    }
    for (int i = 0; i < entries.count(); ++i) {
        if (entries.at(i).ID == engine.SearchHitID) {
            return i + 1;
        }
    }
    return std::min(at, entries.count());
}

// Shows a hit: its group selected in the tree, the list rebuilt, its row selected and its comment
// shown; no row when the list does not show the entry.
void showHit(Engine& engine, const Entry& hit) {
    Desktop& desktop = engine.desktop;
    const RecordList<Group>& groups = engine.vault.Groups;
    for (int g = 0; g < groups.count(); ++g) {
        if (groups.at(g).ID == hit.GroupID) {
            desktop.SelectGroupItem(g + 1);
            break;
        }
    }
    Entry_RefreshList(engine);
    const EntryRows& rows = desktop.ShownEntryRows();
    int row = -1;
    for (int r = 0; r < rows.count(); ++r) {
        if (rows.rows[static_cast<std::size_t>(r)].id == hit.ID) {
            row = r;
            break;
        }
    }
    desktop.SelectEntryRow(row);
    desktop.ShowComment(row >= 0 ? std::u16string_view(hit.Comment) : u"");
}

}  // namespace

char16_t FoldCase(char16_t unit) {
    return foldTable().units[unit];
}

bool ContainsText(std::u16string_view text, std::u16string_view needle, bool caseSensitive) {
    if (needle.empty() || text.size() < needle.size()) {
        return false;
    }
    if (caseSensitive) {
        return text.find(needle) != std::u16string_view::npos;
    }
    return containsFolded(text, needle);
}

int FindEntry(const Vault& vault, const SearchOptions& search, int start, std::int32_t now) {
    std::u16string needle = search.SearchText;
    if (search.CaseSensitive != 1) {
        for (char16_t& unit : needle) {
            unit = FoldCase(unit);
        }
    }
    const RecordList<Entry>& entries = vault.Entries;
    // The first hit in [from, to), -1 for none.
    const auto scan = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const Entry& entry = entries.at(i);
            if (search.SearchExpired != 1 && EntryExpired(entry, now)) {
                continue;
            }
            if (entryHit(entry, search, needle)) {
                return i;
            }
        }
        return -1;
    };
    // A large vault is read faster than one core can: batches are scanned on every core and
    // taken in order, so the first hit in list order wins and later batches stop being started.
    constexpr int kBatch = 4096;
    const int first = std::max(start, 0);
    const int count = entries.count() - first;
    if (count <= kBatch) {
        return scan(first, entries.count());
    }
    const std::size_t batches = static_cast<std::size_t>((count + kBatch - 1) / kBatch);
    std::vector<int> hits(batches, -1);
    int found = -1;
    const auto batchStart = [&](std::size_t b) { return first + static_cast<int>(b) * kBatch; };
    RunInOrder(
        batches, WorkerThreads(),
        [&](std::size_t b) {
            hits[b] = scan(batchStart(b), std::min(batchStart(b) + kBatch, entries.count()));
        },
        [&](std::size_t b) {
            found = hits[b];
            return found < 0;
        },
        [] {});
    return found;
}

int FindNextEntry(Engine& engine, int first) {
    int hit = -1;
    try {
        hit = FindEntry(engine.vault, engine.ActiveSearch, resumeIndex(engine), engine.clock());
    } catch (const std::exception&) {
        return 0;  // out of memory before the search began: nothing was searched or shown
    }
    if (hit < 0) {
        engine.desktop.Message(
            u"Information",
            first == 1 ? u"No matching entries found." : u"No more matching entries found.",
            MessageIcon::Information);
        return 0;
    }
    const Entry& entry = engine.vault.Entries.at(hit);
    engine.SearchPosition = hit;
    engine.SearchHitID = entry.ID;
    showHit(engine, entry);
    return 1;
}

int OpenFindWindow(Engine& engine) {
    engine.SearchPosition = -1;
    engine.desktop.FindWindow(engine.settings.Search, [&engine](const SearchOptions& shown) {
        engine.ActiveSearch = shown;
        if (shown.SearchText.empty()) {
            engine.desktop.Message(u"Information", u"Please fill in a search string.",
                                   MessageIcon::Information);
            return false;
        }
        return FindNextEntry(engine, 1) == 1;
    });
    return 0;
}

}  // namespace vlt
