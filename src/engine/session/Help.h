#pragma once
// The help topics: HTML pages in the "help" folder installed beside the program, opened in the
// user's browser.

#include <string>
#include <string_view>

namespace vlt {

struct Engine;

// Where a topic's page is: "<programFolder>help/<topic>", else "<working folder>/help/<topic>"
// (a program started from its build or source tree). An empty topic is the introduction. A
// topic that is not a plain page name ("../x", "a/b") is no page. "" when no page is found.
std::string FindHelpPage(std::u16string_view topic, const std::string& programFolder);

// Opens the topic's page in the browser. When the page is missing or cannot be handed over, tells
// the user the help is not installed. Returns 1.
int RunHelp(Engine& engine, std::u16string_view topic, const std::string& programFolder);

}  // namespace vlt
