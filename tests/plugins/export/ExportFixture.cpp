#include "ExportFixture.h"

namespace vlt::test {

namespace {

struct EntryNumbers {
    std::int32_t id, groupId, expires, customForeground, foreground, customBackground, background,
        created, accessed, modified, expiration;
};

}  // namespace

FixtureVault::FixtureVault() {
    groupNames_ = {u"Internet", u"Mail \"quoted\", back\\slash", u"Deep \u00E9\u20AC\U0001F600",
                   u"Empty", u" [x] padded; "};
    const std::int32_t groupIds[] = {1, 2, 3, 4, 5};
    const std::int32_t depths[] = {1, 2, 3, 1, 1};
    const std::int32_t icons[] = {1, 5, 99, 0, 42};
    for (std::size_t i = 0; i < groupNames_.size(); ++i) {
        groups_.push_back({groupIds[i], depths[i], groupNames_[i].c_str(), icons[i], 0});
    }

    texts_ = {
        {
            u"Internet",
            u"Plain",
            u"alice",
            u"pa\"ss\\word,;",
            u"https://example.org/?a=1&b=<2>",
            u"line1\r\nline2",
        },
        {
            groupNames_[1],
            u"(%password%)",
            u" lead and trail ",
            u"\\*starts like an escape",
            u"",
            u"lone\rCR and lone\nLF, CR CR LF\r\r\n",
        },
        {
            groupNames_[2],
            u"\u00E9\u20AC\U0001F600",
            u"[x]",
            u"\\\"",
            u"http://example.org/\u20AC",
            u"tab\there \"q\" &amp; <b> \u00A0\u00FF",
        },
        {
            u"Elsewhere",
            u";comment-like",
            u"key = value",
            u"\r\nbreak first",
            u"ftp://example.org",
            u"\r\n\r\n",
        },
        {
            u"Internet",
            u"bell\u0007 and lone \xD800 surrogate",
            u"",
            u"",
            u"",
            u"",
        },
        {
            u"Nowhere",
            u"Orphan",
            u"nobody",
            u"secret",
            u"",
            u"filed under no group",
        },
    };
    const EntryNumbers numbers[] = {
        {10, 1, 1, 1, 255, 0, -1, 0, -1, 2147483647, 1262304000},
        {11, 2, 0, 0, -1, 1, 255, 1234567890, 1234567891, 1234567892, 2147483647},
        {12, 3, 1, 0, 0, 0, 0, 951782400, 951868799, 951868800, -1},
        {13, 5, 0, 0, 65280, 0, 16711680, 86399, 86400, 1000000000, 0},
        {14, 1, 1, 0, 0, 0, 0, 1, 2, 3, 4},
        {15, 99, 2, 0, 0, 0, 0, 5, 6, 7, 8},
    };
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        const EntryText& t = texts_[i];
        const EntryNumbers& n = numbers[i];
        entries_.push_back({n.id, n.groupId, t.groupName.c_str(), t.account.c_str(), t.user.c_str(),
                            t.password.c_str(), t.url.c_str(), u"", t.comment.c_str(), n.expires,
                            n.customForeground, n.foreground, n.customBackground, n.background,
                            n.created, n.accessed, n.modified, n.expiration, 0});
    }
}

std::int32_t FixtureVault::countGroups() {
    nextGroup_ = 0;
    return static_cast<std::int32_t>(groups_.size());
}

const VLT_Group* FixtureVault::nextGroup() {
    return nextGroup_ < groups_.size() ? &groups_[nextGroup_++] : nullptr;
}

std::int32_t FixtureVault::countEntries() {
    nextEntry_ = 0;
    return static_cast<std::int32_t>(entries_.size());
}

const VLT_Entry* FixtureVault::nextEntry() {
    return nextEntry_ < entries_.size() ? &entries_[nextEntry_++] : nullptr;
}

plugin::ExportScope SelectedScope() {
    return {false, {2, 4, 5}};
}

WriterRun RunWriter(plugin::ExportWriter writer, const plugin::ExportScope& scope) {
    FixtureVault vault;
    WriterRun run;
    plugin::ExportOutput out;
    plugin::ExportJob job{vault, scope, out, [&run](int p) { run.progress.push_back(p); }, kNow};
    writer(job);
    run.bytes = out.bytes();
    return run;
}

std::string Utf8(std::u16string_view text) {
    plugin::ExportOutput out;
    out << text;
    return out.bytes();
}

}  // namespace vlt::test
