#pragma once
// Copying a field of the selected row's entry to the clipboard, and opening its URL. Both stamp
// the entry as accessed.

#include <cstdint>

namespace vlt {

struct Engine;

// Field codes: 0 account, 1 user, 2 password, 3 URL, 4 comment, 5 creation, 6 access,
// 7 modification, 8 expiration date (as the entry list writes dates; 8 even when the entry
// does not expire). Copies the stored text, masked or not, and restarts the clipboard
// countdown. 1 when the entry was found, else 0.
int CopyField(Engine& engine, std::int32_t field);

// Hands the entry's URL to the browser when it is a web or mail address (one without a scheme
// as an http address), and otherwise says why nothing was opened. 1 when the browser was
// started, else 0.
int FieldLaunchURL(Engine& engine);

}  // namespace vlt
