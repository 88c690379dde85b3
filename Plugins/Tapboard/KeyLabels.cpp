#include "KeyLabels.h"

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <utility>

namespace tapboard {

namespace {

// The spacing forms of the accents of dead keys.
constexpr std::array<std::pair<xkb_keysym_t, const char*>, 14> kAccents = {{
    {XKB_KEY_dead_grave, "`"},
    {XKB_KEY_dead_acute, "\u00B4"},
    {XKB_KEY_dead_circumflex, "^"},
    {XKB_KEY_dead_tilde, "~"},
    {XKB_KEY_dead_macron, "\u00AF"},
    {XKB_KEY_dead_breve, "\u02D8"},
    {XKB_KEY_dead_abovedot, "\u02D9"},
    {XKB_KEY_dead_diaeresis, "\u00A8"},
    {XKB_KEY_dead_abovering, "\u02DA"},
    {XKB_KEY_dead_doubleacute, "\u02DD"},
    {XKB_KEY_dead_caron, "\u02C7"},
    {XKB_KEY_dead_cedilla, "\u00B8"},
    {XKB_KEY_dead_ogonek, "\u02DB"},
    {XKB_KEY_dead_iota, "\u037A"},
}};

xkb_keymap* compile(xkb_context* context, const std::string& layout, const std::string& variant) {
    if (context == nullptr) {
        return nullptr;
    }
    xkb_rule_names names{};
    names.layout = layout.c_str();
    names.variant = variant.c_str();
    return xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

bool printable(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return !text.empty();
}

std::string labelIn(xkb_keymap* keymap, const std::string& position, bool shift, bool caps,
                    int group) {
    if (keymap == nullptr) {
        return {};
    }
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap, position.c_str());
    if (code == XKB_KEYCODE_INVALID) {
        return {};
    }
    xkb_state* state = xkb_state_new(keymap);
    if (state == nullptr) {
        return {};
    }
    const xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    const xkb_mod_index_t capsIndex = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CAPS);
    const xkb_mod_mask_t depressed =
        shift && shiftIndex != XKB_MOD_INVALID ? xkb_mod_mask_t{1} << shiftIndex : 0;
    const xkb_mod_mask_t locked =
        caps && capsIndex != XKB_MOD_INVALID ? xkb_mod_mask_t{1} << capsIndex : 0;
    xkb_state_update_mask(state, depressed, 0, locked, 0, 0,
                          static_cast<xkb_layout_index_t>(group));

    std::string text;
    const xkb_keysym_t sym = xkb_state_key_get_one_sym(state, code);
    for (const auto& [dead, accent] : kAccents) {
        if (sym == dead) {
            text = accent;
        }
    }
    if (text.empty()) {
        std::array<char, 64> buffer{};
        const int n = xkb_state_key_get_utf8(state, code, buffer.data(), buffer.size());
        if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(n));
        }
    }
    xkb_state_unref(state);
    return printable(text) ? text : std::string();
}

}  // namespace

KeyLabels::KeyLabels(xkb_context* context, xkb_keymap* keymap)
    : context_(context), keymap_(keymap), us_(compile(context, "us", "")) {}

KeyLabels::~KeyLabels() {
    xkb_keymap_unref(us_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

std::unique_ptr<KeyLabels> KeyLabels::fromNames(const std::string& layout,
                                                const std::string& variant) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = compile(context, layout, variant);
    if (keymap == nullptr) {
        xkb_context_unref(context);
        return nullptr;
    }
    return std::make_unique<KeyLabels>(context, keymap);
}

std::uint32_t KeyLabels::keycode(const std::string& position) const {
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap_, position.c_str());
    return code == XKB_KEYCODE_INVALID ? 0 : code;
}

std::string KeyLabels::label(const std::string& position, bool shift, bool caps, int group) const {
    std::string text = labelIn(keymap_, position, shift, caps, group);
    if (text.empty()) {
        text = labelIn(us_, position, shift, caps, 0);
    }
    return text;
}

}  // namespace tapboard
