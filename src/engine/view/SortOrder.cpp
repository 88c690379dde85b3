#include "engine/view/SortOrder.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "engine/crypto/SecureBuffer.h"

namespace vlt {

namespace {

// Texts are sorted by 64-bit chunks of four folded code units at a time (most significant
// first, 0 past the end); only runs that agree on a whole chunk are looked at again, four units
// further on. Short runs are finished by plain comparison, long ones radix-sorted.
constexpr std::size_t kUnitsPerChunk = 4;
constexpr std::size_t kShortRun = 32;
constexpr std::size_t kRadixRun = 512;
// The first units of every text are kept folded in one block: the passes over a run read that
// block instead of texts scattered over the heap.
constexpr std::size_t kFoldedUnits = 16;
constexpr std::size_t kPrefetchAhead = 64;

struct SortKey {
    std::uint64_t key = 0;
    std::uint32_t item = 0;
};

char16_t fold(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

template <typename T>
void wipeVector(std::vector<T>& values) {
    wipeBytes(values.data(), values.capacity() * sizeof(T));
}

// Stable LSD radix sort by key, one byte at a time, skipping the bytes in which all keys agree.
void radixSort(std::vector<SortKey>& keys, std::vector<SortKey>& scratch) {
    const std::size_t n = keys.size();
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (const SortKey& k : keys) {
        for (std::size_t d = 0; d < 8; ++d) {
            ++counts[d][(k.key >> (8 * d)) & 0xFF];
        }
    }
    scratch.resize(n);
    for (std::size_t d = 0; d < 8; ++d) {
        auto& count = counts[d];
        if (count[(keys.front().key >> (8 * d)) & 0xFF] == n) {
            continue;
        }
        std::uint32_t sum = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t here = c;
            c = sum;
            sum += here;
        }
        for (const SortKey& k : keys) {
            scratch[count[(k.key >> (8 * d)) & 0xFF]++] = k;
        }
        keys.swap(scratch);
    }
}

// Stable sort by key; radix passes pay off on long runs only.
void sortKeys(std::vector<SortKey>& keys, std::vector<SortKey>& scratch) {
    if (keys.size() < kRadixRun) {
        std::stable_sort(keys.begin(), keys.end(),
                         [](const SortKey& a, const SortKey& b) { return a.key < b.key; });
    } else {
        radixSort(keys, scratch);
    }
}

bool endsOrHoldsZero(std::uint64_t chunk) {
    for (std::size_t i = 0; i < kUnitsPerChunk; ++i) {
        if (((chunk >> (16 * i)) & 0xFFFF) == 0) {
            return true;
        }
    }
    return false;
}

class TextSorter {
  public:
    TextSorter(std::span<const std::u16string_view> texts, bool descending)
        : texts_(texts), descending_(descending) {}
    // The folded block and the keys hold pieces of the texts, which may be passwords.
    ~TextSorter() {
        wipeVector(folded_);
        wipeVector(keys_);
        wipeVector(scratch_);
    }
    TextSorter(const TextSorter&) = delete;
    TextSorter& operator=(const TextSorter&) = delete;

    std::vector<std::uint32_t> order() {
        const std::size_t shared = foldHeads();
        std::vector<std::uint32_t> order(texts_.size());
        std::iota(order.begin(), order.end(), 0u);
        // A work list rather than recursion: long shared prefixes cannot exhaust the stack.
        std::vector<Run> runs{{0, order.size(), shared}};
        while (!runs.empty()) {
            const Run run = runs.back();
            runs.pop_back();
            sortRun(order, run, runs);
        }
        return order;
    }

  private:
    struct Run {
        std::size_t begin = 0;
        std::size_t end = 0;
        std::size_t offset = 0;  // the texts of the run agree on every unit before this one
    };

    // Fills the folded block; returns how many of its units all texts share.
    std::size_t foldHeads() {
        const std::size_t n = texts_.size();
        folded_.assign(n * kFoldedUnits, 0);
        std::size_t shared = n == 0 ? 0 : std::min(texts_[0].size(), kFoldedUnits);
        for (std::size_t item = 0; item < n; ++item) {
            // The texts lie scattered over the heap: asking for them well ahead overlaps the
            // waits for memory instead of taking them one after another.
            if (item + kPrefetchAhead < n) {
                __builtin_prefetch(texts_[item + kPrefetchAhead].data());
            }
            const std::u16string_view text = texts_[item];
            char16_t* head = folded_.data() + item * kFoldedUnits;
            for (std::size_t i = 0; i < std::min(text.size(), kFoldedUnits); ++i) {
                head[i] = fold(text[i]);
            }
            shared = static_cast<std::size_t>(
                std::mismatch(head, head + std::min(shared, text.size()), folded_.data()).first -
                head);
        }
        return shared;
    }

    std::size_t length(std::uint32_t item) const { return texts_[item].size(); }

    // The folded unit at `at`, which must lie inside the text.
    char16_t unit(std::uint32_t item, std::size_t at) const {
        return at < kFoldedUnits ? folded_[item * kFoldedUnits + at] : fold(texts_[item][at]);
    }

    // Whether text a sorts before text b; both agree on every unit before `offset`.
    bool before(std::uint32_t a, std::uint32_t b, std::size_t offset) const {
        const std::size_t n = std::min(length(a), length(b));
        for (std::size_t i = offset; i < n; ++i) {
            const char16_t ca = unit(a, i);
            const char16_t cb = unit(b, i);
            if (ca != cb) {
                return descending_ ? ca > cb : ca < cb;
            }
        }
        return descending_ ? length(a) > length(b) : length(a) < length(b);
    }

    // Insertion sort: stable, and quick on short or nearly sorted runs.
    void sortShort(std::uint32_t* first, std::uint32_t* last, std::size_t offset) const {
        for (std::uint32_t* i = first + 1; i < last; ++i) {
            const std::uint32_t item = *i;
            std::uint32_t* j = i;
            for (; j > first && before(item, *(j - 1), offset); --j) {
                *j = *(j - 1);
            }
            *j = item;
        }
    }

    // How far all texts of the run agree, from `offset` on.
    std::size_t sharedLength(const std::uint32_t* first, const std::uint32_t* last,
                             std::size_t offset) const {
        const std::uint32_t head = *first;
        std::size_t shared = std::max(length(head), offset);
        for (const std::uint32_t* i = first + 1; i < last && shared > offset; ++i) {
            const std::size_t n = std::min(shared, length(*i));
            std::size_t at = offset;
            while (at < n && unit(*i, at) == unit(head, at)) {
                ++at;
            }
            shared = at;
        }
        return shared;
    }

    std::uint64_t chunk(std::uint32_t item, std::size_t offset) const {
        std::uint64_t key = 0;
        const std::size_t size = length(item);
        for (std::size_t i = offset; i < offset + kUnitsPerChunk; ++i) {
            key = (key << 16) | (i < size ? unit(item, i) : 0u);
        }
        return descending_ ? ~key : key;
    }

    // Texts that agree on every unit before `end` and are no longer than that are equal.
    bool allEqual(const std::uint32_t* first, const std::uint32_t* last, std::size_t end) const {
        const std::size_t size = length(*first);
        return size <= end &&
               std::all_of(first, last, [&](std::uint32_t item) { return length(item) == size; });
    }

    void sortRun(std::vector<std::uint32_t>& order, const Run& run, std::vector<Run>& runs) {
        std::uint32_t* const first = order.data() + run.begin;
        std::uint32_t* const last = order.data() + run.end;
        const std::size_t n = run.end - run.begin;
        if (n <= kShortRun) {
            sortShort(first, last, run.offset);
            return;
        }
        const std::size_t offset = sharedLength(first, last, run.offset);
        keys_.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            keys_[i] = SortKey{chunk(first[i], offset), first[i]};
        }
        sortKeys(keys_, scratch_);
        std::size_t start = 0;
        for (std::size_t i = 0; i <= n; ++i) {
            if (i < n) {
                first[i] = keys_[i].item;
                if (keys_[i].key == keys_[start].key) {
                    continue;
                }
            }
            if (i - start > 1) {
                const std::uint64_t key = descending_ ? ~keys_[start].key : keys_[start].key;
                const std::size_t next = offset + kUnitsPerChunk;
                if (!endsOrHoldsZero(key)) {
                    runs.push_back({run.begin + start, run.begin + i, next});
                } else if (!allEqual(first + start, first + i, next)) {
                    // Texts ending inside the chunk, or holding U+0000: compare them whole.
                    std::stable_sort(
                        first + start, first + i,
                        [&](std::uint32_t a, std::uint32_t b) { return before(a, b, offset); });
                }
            }
            start = i;
        }
    }

    std::span<const std::u16string_view> texts_;
    bool descending_ = false;
    std::vector<char16_t> folded_;  // the first units of every text, folded, 0 past its end
    std::vector<SortKey> keys_;
    std::vector<SortKey> scratch_;
};

}  // namespace

std::vector<std::uint32_t> TextOrder(std::span<const std::u16string_view> texts, bool descending) {
    return TextSorter(texts, descending).order();
}

std::vector<std::uint32_t> NumberOrder(std::span<const std::int32_t> numbers, bool descending) {
    std::vector<SortKey> keys(numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        // Flipping the sign bit orders signed numbers as unsigned ones.
        const std::uint32_t key = static_cast<std::uint32_t>(numbers[i]) ^ 0x80000000u;
        keys[i] = SortKey{descending ? ~key : key, static_cast<std::uint32_t>(i)};
    }
    std::vector<SortKey> scratch;
    if (!keys.empty()) {
        radixSort(keys, scratch);
    }
    std::vector<std::uint32_t> order(keys.size());
    std::transform(keys.begin(), keys.end(), order.begin(),
                   [](const SortKey& k) { return k.item; });
    return order;
}

}  // namespace vlt
