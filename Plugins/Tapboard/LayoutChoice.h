#pragma once
// Which layout of the file the keyboard uses for the current keyboard layout of the desktop.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "KeyboardLayouts.h"

namespace tapboard {

// The numeric layout ID the file uses for an XKB layout name ("us", "de", ...): the language
// identifier of the matching national layout, 1033 for US English. 0 for a name it does not
// know.
std::int32_t LayoutIdForXkbName(std::string_view name);

// The layout name of group `group` in the value of the root window's _XKB_RULES_NAMES property
// (rules, model, layouts, variants, options; separated by NUL bytes, layouts by commas). Empty
// when the value has no such group.
std::string XkbLayoutOfGroup(std::string_view rulesNames, int group);

class LayoutChoice {
  public:
    explicit LayoutChoice(const std::vector<KeyboardLayout>& layouts) : layouts_(layouts) {}

    // The first layout with the given ID, else the first of the file (the file must hold at least
    // one). `missingReport` becomes true when the ID is missing and has not been reported before in
    // this run: the message is shown once per ID, not at every Shift or Caps Lock change.
    const KeyboardLayout& choose(std::int32_t id, bool& missingReport);

  private:
    const std::vector<KeyboardLayout>& layouts_;
    std::set<std::int32_t> reported_;
};

// The message for an ID the file has no layout for.
std::string MissingLayoutMessage(std::int32_t id);

// The keyboard window's title: the layout's name, or the ID asked for when the name is empty.
std::string KeyboardTitle(const KeyboardLayout& layout, std::int32_t id);

}  // namespace tapboard
