#include "engine/view/OpenLink.h"

#include <string>

#include "engine/text/LinkFinder.h"
#include "engine/vault/Engine.h"

namespace vlt {

int OpenLink(Engine& engine, std::u16string_view shown, std::u16string_view url) {
    if (shown.empty()) {
        return 0;
    }
    const std::u16string question =
        u"Would you like to open the link below in the default browser window?\r\n\r\n\"" +
        std::u16string(shown) + u"\"";
    if (!engine.desktop.AskYesNo(u"Please confirm", question, MessageIcon::Question)) {
        return 0;
    }
    return IsOpenableUrl(url) && engine.desktop.OpenUrl(url) ? 1 : 0;
}

}  // namespace vlt
