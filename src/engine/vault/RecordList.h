#pragma once
// An ordered list of records with one current-element cursor. Records live at stable addresses
// (plugins read them in place), and the cursor behaves as the vault operations expect: reset puts
// it before the first element, next advances it, adding makes the new element current.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace vlt {

template <typename T>
class RecordList {
  public:
    // Cursor before the first element.
    void reset() { cursor_ = -1; }

    // Advances the cursor; the record there, or nullptr past the end.
    T* next() {
        if (cursor_ < count()) {
            ++cursor_;
        }
        return current();
    }

    T* current() { return valid(cursor_) ? items_[cursor_].get() : nullptr; }
    const T* current() const { return valid(cursor_) ? items_[cursor_].get() : nullptr; }

    // Adds after the current element (at the front when the cursor is before the first);
    // the new element becomes current.
    T& addAfter(T record) {
        int at = cursor_ < 0 ? 0 : (cursor_ >= count() ? count() : cursor_ + 1);
        return insertAt(at, std::move(record));
    }

    // Inserts before the current element (at the front when there is none); becomes current.
    T& insertBefore(T record) {
        int at = cursor_ < 0 ? 0 : (cursor_ >= count() ? count() : cursor_);
        return insertAt(at, std::move(record));
    }

    // Appends at the end and makes the new element current.
    T& append(T record) { return insertAt(count(), std::move(record)); }

    // Deletes the current element; the previous one becomes current.
    void deleteCurrent() {
        if (!valid(cursor_)) {
            return;
        }
        items_.erase(items_.begin() + cursor_);
        --cursor_;
    }

    // Selects the element at index; nullptr (and the cursor unchanged) when out of range.
    T* select(int index) {
        if (!valid(index)) {
            return nullptr;
        }
        cursor_ = index;
        return current();
    }

    // Index of the current element, -1 when there is none.
    int index() const { return valid(cursor_) ? cursor_ : -1; }
    int count() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    void clear() {
        items_.clear();
        cursor_ = -1;
    }

    void swap(int a, int b) {
        if (valid(a) && valid(b)) {
            std::swap(items_[a], items_[b]);
        }
    }

    T& at(int index) { return *items_[index]; }
    const T& at(int index) const { return *items_[index]; }

    // Moves the element at index `from` so that it stands at index `to`; the cursor follows it.
    void move(int from, int to) {
        if (!valid(from) || !valid(to) || from == to) {
            return;
        }
        auto item = std::move(items_[from]);
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, std::move(item));
        cursor_ = to;
    }

    // Replaces the order wholesale (sorting); the cursor is reset.
    template <typename Less>
    void stableSort(Less less) {
        std::stable_sort(items_.begin(), items_.end(),
                         [&](const auto& a, const auto& b) { return less(*a, *b); });
        cursor_ = -1;
    }

    // Reorders the elements standing at `positions` (strictly increasing indexes) among
    // themselves: positions[k] receives the element that stood at positions[order[k]]. Every
    // other element keeps its index, and the cursor is reset. Positions out of range or out of
    // order, or an order that is not a permutation of them, change nothing.
    void reorderAt(const std::vector<int>& positions, const std::vector<std::uint32_t>& order) {
        if (order.size() != positions.size()) {
            return;
        }
        std::vector<bool> taken(positions.size(), false);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (!valid(positions[i]) || (i > 0 && positions[i] <= positions[i - 1]) ||
                order[i] >= positions.size() || taken[order[i]]) {
                return;
            }
            taken[order[i]] = true;
        }
        std::vector<std::unique_ptr<T>> picked;
        picked.reserve(positions.size());
        for (int at : positions) {
            picked.push_back(std::move(items_[at]));
        }
        for (std::size_t i = 0; i < positions.size(); ++i) {
            items_[positions[i]] = std::move(picked[order[i]]);
        }
        cursor_ = -1;
    }

    // Takes the elements at `picked` (distinct indexes, in the order given) out and puts them
    // back as one run, in that order, right behind the element at index `after` (which must not
    // be picked), or at the end when `after` is -1. The records keep their addresses and the
    // cursor is reset. Indexes out of range or repeated change nothing.
    void relocate(const std::vector<int>& picked, int after) {
        std::vector<bool> isPicked(items_.size(), false);
        for (int at : picked) {
            if (!valid(at) || isPicked[static_cast<std::size_t>(at)]) {
                return;
            }
            isPicked[static_cast<std::size_t>(at)] = true;
        }
        if (after != -1 && (!valid(after) || isPicked[static_cast<std::size_t>(after)])) {
            return;
        }
        // Both lists are made before any element is taken, so a failed allocation changes
        // nothing.
        std::vector<std::unique_ptr<T>> run;
        run.reserve(picked.size());
        std::vector<std::unique_ptr<T>> result;
        result.reserve(items_.size());
        for (int at : picked) {
            run.push_back(std::move(items_[static_cast<std::size_t>(at)]));
        }
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (!isPicked[i]) {
                result.push_back(std::move(items_[i]));
            }
            if (static_cast<int>(i) == after) {
                std::move(run.begin(), run.end(), std::back_inserter(result));
            }
        }
        if (after == -1) {
            std::move(run.begin(), run.end(), std::back_inserter(result));
        }
        items_ = std::move(result);
        cursor_ = -1;
    }

    class Iterator {
      public:
        using Inner = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit Iterator(Inner it) : it_(it) {}
        T& operator*() const { return **it_; }
        T* operator->() const { return it_->get(); }
        Iterator& operator++() {
            ++it_;
            return *this;
        }
        bool operator==(const Iterator& o) const { return it_ == o.it_; }

      private:
        Inner it_;
    };
    Iterator begin() const { return Iterator(items_.begin()); }
    Iterator end() const { return Iterator(items_.end()); }

    void reserve(std::size_t n) { items_.reserve(n); }

    // Moves every element of `other` to the end of this list, in order (the records keep their
    // addresses); the last one moved becomes current and `other` is left empty.
    void takeAll(RecordList& other) {
        if (other.items_.empty()) {
            return;
        }
        items_.insert(items_.end(), std::make_move_iterator(other.items_.begin()),
                      std::make_move_iterator(other.items_.end()));
        other.clear();
        cursor_ = count() - 1;
    }

  private:
    bool valid(int i) const { return i >= 0 && i < count(); }

    T& insertAt(int at, T record) {
        items_.insert(items_.begin() + at, std::make_unique<T>(std::move(record)));
        cursor_ = at;
        return *items_[at];
    }

    std::vector<std::unique_ptr<T>> items_;
    int cursor_ = -1;
};

}  // namespace vlt
