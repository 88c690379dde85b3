#include "LayoutChoice.h"

#include <array>
#include <utility>

namespace tapboard {

namespace {

// XKB layout names and the language identifier of the matching national layout. Austria and
// Ireland type on the German and the UK layout.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 37> kXkbIds = {{
    {"us", 1033}, {"gb", 2057}, {"ie", 2057}, {"de", 1031}, {"at", 1031}, {"fr", 1036},
    {"be", 2060}, {"ch", 2055}, {"es", 1034}, {"pt", 2070}, {"it", 1040}, {"nl", 1043},
    {"dk", 1030}, {"no", 1044}, {"se", 1053}, {"fi", 1035}, {"pl", 1045}, {"is", 1039},
    {"cz", 1029}, {"sk", 1051}, {"hu", 1038}, {"si", 1060}, {"hr", 1050}, {"ro", 1048},
    {"bg", 1026}, {"gr", 1032}, {"tr", 1055}, {"ru", 1049}, {"ua", 1058}, {"by", 1059},
    {"ee", 1061}, {"lv", 1062}, {"lt", 1063}, {"il", 1037}, {"jp", 1041}, {"kr", 1042},
    {"br", 1046},
}};

}  // namespace

std::int32_t LayoutIdForXkbName(std::string_view name) {
    for (const auto& [xkb, id] : kXkbIds) {
        if (xkb == name) {
            return id;
        }
    }
    return 0;
}

std::string XkbLayoutOfGroup(std::string_view rulesNames, int group) {
    if (group < 0) {
        return {};
    }
    // Skip rules and model.
    for (int field = 0; field < 2; ++field) {
        const std::size_t nul = rulesNames.find('\0');
        if (nul == std::string_view::npos) {
            return {};
        }
        rulesNames.remove_prefix(nul + 1);
    }
    std::string_view layouts = rulesNames.substr(0, rulesNames.find('\0'));
    for (int i = 0; i < group; ++i) {
        const std::size_t comma = layouts.find(',');
        if (comma == std::string_view::npos) {
            return {};
        }
        layouts.remove_prefix(comma + 1);
    }
    return std::string(layouts.substr(0, layouts.find(',')));
}

const KeyboardLayout& LayoutChoice::choose(std::int32_t id, bool& missingReport) {
    missingReport = false;
    for (const KeyboardLayout& layout : layouts_) {
        if (layout.ID == id) {
            return layout;
        }
    }
    missingReport = reported_.insert(id).second;
    return layouts_.front();
}

std::string MissingLayoutMessage(std::int32_t id) {
    return "The layout with the following ID could not be found in the 'KBLayouts.ini' file: " +
           std::to_string(id) + ". Loading the English (US) layout.";
}

std::string KeyboardTitle(const KeyboardLayout& layout, std::int32_t id) {
    return "Tapboard Plugin (VLT) (" +
           (layout.LayoutName.empty() ? std::to_string(id) : layout.LayoutName) + ")";
}

}  // namespace tapboard
