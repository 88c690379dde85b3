#pragma once
// Opening a link the user clicked in a shown text, such as an entry's comment.

#include <string_view>

namespace vlt {

struct Engine;

// Asks whether to open the link, quoting it as shown, and on Yes hands `url` to the browser or
// mail program. Only web and mail addresses are handed over; an empty link asks nothing. 1 when
// the address was handed over, else 0.
int OpenLink(Engine& engine, std::u16string_view shown, std::u16string_view url);

}  // namespace vlt
