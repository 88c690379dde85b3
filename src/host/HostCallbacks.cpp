#include "host/HostCallbacks.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "engine/view/EntryRows.h"

namespace vlt {
namespace {

CallbackSession* active = nullptr;

const char16_t* orEmpty(const char16_t* text) {
    return text != nullptr ? text : u"";
}

// A NUL-terminated copy that is wiped when it goes.
SecureText terminated(std::u16string_view text) {
    SecureText copy = SecureText::withLength(text.size() + 1);
    if (!text.empty()) {
        std::memcpy(copy.data(), text.data(), text.size() * sizeof(char16_t));
    }
    return copy;
}

// No exception may unwind into a plugin's C frames: running out of memory gives `fallback`.
template <typename Fn, typename R>
R guarded(Fn fn, R fallback) {
    try {
        return fn();
    } catch (const std::bad_alloc&) {
        return fallback;
    }
}

// 0 names no record (the tree's root carries it), and IDs past the range are never drawn.
bool inIdRange(std::int32_t id) {
    return id >= 1 && id <= IdRegistry::kMaxId;
}

// A list's records as plugins see them are taken on its first Count of a plugin run and reused
// by every later Count, which only rewinds: writers count once per group, and copying every
// password on each count made large exports crawl. Nothing but the plugin changes the vault
// while it runs, and then only by adding: a list that grew is taken again.
template <typename T, typename List>
bool current(const std::vector<T>& records, const List& list) {
    return records.size() == static_cast<std::size_t>(list.count());
}

template <typename T>
const T* step(std::vector<T>& records, std::size_t& next) {
    if (next >= records.size()) {
        return nullptr;
    }
    return &records[next++];
}

}  // namespace

struct CallbackAccess {
    static CallbackSession* session() { return active; }

    static std::int32_t countGroups(CallbackSession& s) {
        if (!current(s.groups_, s.engine_.vault.Groups)) {
            s.groups_.clear();
            for (const Group& g : s.engine_.vault.Groups) {
                s.groups_.push_back(VLT_Group{g.ID, g.Depth, g.Name.c_str(), g.Icon, 0});
            }
        }
        s.nextGroup_ = 0;
        return static_cast<std::int32_t>(s.groups_.size());
    }

    static const VLT_Group* nextGroup(CallbackSession& s) { return step(s.groups_, s.nextGroup_); }
    static const VLT_Entry* nextEntry(CallbackSession& s) { return step(s.entries_, s.nextEntry_); }
    static const VLT_Attachment* nextAttachment(CallbackSession& s) {
        return step(s.attachments_, s.nextAttachment_);
    }

    static std::int32_t countEntries(CallbackSession& s) {
        if (!current(s.entries_, s.engine_.vault.Entries)) {
            s.entries_.clear();
            s.passwords_.clear();
            s.attachmentNames_.clear();
            s.passwords_.reserve(static_cast<std::size_t>(s.engine_.vault.Entries.count()));
            // An exporter gets the attachment names the entry list shows, not the stored text:
            // a loaded file or an importer may have left that empty or out of date.
            const AttachmentSummaries summaries(s.engine_.vault.Attachments);
            for (const Entry& e : s.engine_.vault.Entries) {
                const char16_t* attachmentNames = kNoAttachments;
                if (std::optional<std::u16string> names = summaries.find(e.ID)) {
                    attachmentNames = s.attachmentNames_.emplace_back(std::move(*names)).c_str();
                }
                s.passwords_.push_back(terminated(e.Password.view()));
                s.entries_.push_back(VLT_Entry{
                    e.ID, e.GroupID, e.GroupName.c_str(), e.Account.c_str(), e.User.c_str(),
                    s.passwords_.back().data(), e.URL.c_str(), attachmentNames, e.Comment.c_str(),
                    e.Expires, e.CustomForeground, e.ForegroundColor, e.CustomBackground,
                    e.BackgroundColor, e.CreationDate, e.AccessDate, e.ModificationDate,
                    e.ExpirationDate, 0});
            }
        }
        s.nextEntry_ = 0;
        return static_cast<std::int32_t>(s.entries_.size());
    }

    static std::int32_t countAttachments(CallbackSession& s) {
        if (!current(s.attachments_, s.engine_.vault.Attachments)) {
            s.attachments_.clear();
            for (const Attachment& a : s.engine_.vault.Attachments) {
                s.attachments_.push_back(VLT_Attachment{a.ID, a.EntryID, a.FileName.c_str(), a.Size,
                                                        a.Attributes, a.Data.data(),
                                                        a.MD5.c_str()});
            }
        }
        s.nextAttachment_ = 0;
        return static_cast<std::int32_t>(s.attachments_.size());
    }

    static const VLT_Char* requestPassword(CallbackSession& s, PasswordMode mode) {
        s.passwordResult_ = terminated(s.askPassword_(mode).view());
        return s.passwordResult_.data();
    }

    static void addGroup(CallbackSession& s, const VLT_Char* name, std::int32_t icon,
                         std::int32_t id, std::int32_t depth) {
        Engine& e = s.engine_;
        // A group deeper than one below its predecessor has no parent in the tree.
        const std::int32_t previous =
            e.vault.Groups.empty() ? 0 : e.vault.Groups.at(e.vault.Groups.count() - 1).Depth;
        Group group;
        group.Depth = std::clamp(depth, 1, previous + 1);
        group.Icon = icon >= 0 && icon <= 99 ? icon : 0;
        group.Name = orEmpty(name);
        // Two groups with one ID could not be told apart (removing one would remove both): a
        // repeated ID, like one outside the ID range, gets a fresh one.
        const std::int32_t given = id;
        if (!inIdRange(id) || e.ids.ID_Exists(id) == 1) {
            id = e.ids.ID_New();
        } else {
            e.ids.RegisterID(id);
        }
        s.importedGroups_[given].push_back({group.Name, id});
        group.ID = id;
        e.vault.Groups.append(std::move(group));
    }

    static void addEntry(CallbackSession& s, Entry entry) {
        Engine& e = s.engine_;
        // The entries an importer files under a group ID it gave follow that group, as loading
        // a file files them: of the groups given that ID, the first of the entry's group name,
        // else the first.
        if (auto given = s.importedGroups_.find(entry.GroupID); given != s.importedGroups_.end()) {
            const auto& groups = given->second;
            auto named = std::find_if(groups.begin(), groups.end(), [&entry](const auto& g) {
                return g.Name == entry.GroupName;
            });
            entry.GroupID = (named != groups.end() ? *named : groups.front()).ID;
        }
        // An ID already in use would make two entries one; it is replaced like a missing one.
        if (!inIdRange(entry.ID) || e.ids.ID_Exists(entry.ID) == 1) {
            entry.ID = e.ids.ID_New();
        } else {
            e.ids.RegisterID(entry.ID);
        }
        const std::int32_t now = e.clock();
        auto orZero = [](std::int32_t v) { return v == -1 ? 0 : v; };
        auto orNow = [now](std::int32_t v) { return v == -1 ? now : v; };
        entry.Expires = orZero(entry.Expires);
        entry.CustomForeground = orZero(entry.CustomForeground);
        entry.CustomBackground = orZero(entry.CustomBackground);
        entry.CreationDate = orNow(entry.CreationDate);
        entry.AccessDate = orNow(entry.AccessDate);
        entry.ModificationDate = orNow(entry.ModificationDate);
        entry.ExpirationDate = orNow(entry.ExpirationDate);
        e.vault.Entries.append(std::move(entry));
    }
};

CallbackSession::CallbackSession(Engine& engine,
                                 std::function<SecureText(PasswordMode)> askPassword)
    : engine_(engine), askPassword_(std::move(askPassword)) {
    active = this;
}

CallbackSession::~CallbackSession() {
    if (active == this) {
        active = nullptr;
    }
}

// A plugin calling outside its run gets empty answers, never a dangling vault.
std::int32_t VLT_Plugin_CountGroups() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? guarded([s] { return CallbackAccess::countGroups(*s); }, 0) : 0;
}

const VLT_Group* VLT_Plugin_NextGroup() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? CallbackAccess::nextGroup(*s) : nullptr;
}

std::int32_t VLT_Plugin_CountEntries() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? guarded([s] { return CallbackAccess::countEntries(*s); }, 0) : 0;
}

const VLT_Entry* VLT_Plugin_NextEntry() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? CallbackAccess::nextEntry(*s) : nullptr;
}

std::int32_t VLT_Plugin_CountAttachments() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? guarded([s] { return CallbackAccess::countAttachments(*s); }, 0) : 0;
}

const VLT_Attachment* VLT_Plugin_NextAttachment() {
    auto* s = CallbackAccess::session();
    return s != nullptr ? CallbackAccess::nextAttachment(*s) : nullptr;
}

const VLT_Char* VLT_Plugin_RequestExportPassword() {
    auto* s = CallbackAccess::session();
    if (s == nullptr) {
        return u"";
    }
    return guarded([s] { return CallbackAccess::requestPassword(*s, kPasswordExport); },
                   static_cast<const VLT_Char*>(u""));
}

const VLT_Char* VLT_Plugin_RequestImportPassword() {
    auto* s = CallbackAccess::session();
    if (s == nullptr) {
        return u"";
    }
    return guarded([s] { return CallbackAccess::requestPassword(*s, kPasswordImport); },
                   static_cast<const VLT_Char*>(u""));
}

std::int32_t VLT_Plugin_AddGroup(const VLT_Char* Name, std::int32_t Icon, std::int32_t GroupID,
                                 std::int32_t Depth) {
    if (auto* s = CallbackAccess::session()) {
        guarded(
            [&] {
                CallbackAccess::addGroup(*s, Name, Icon, GroupID, Depth);
                return 1;
            },
            1);
    }
    return 1;
}

std::int32_t VLT_Plugin_AddEntry(std::int32_t ID, std::int32_t GroupID, const VLT_Char* GroupName,
                                 const VLT_Char* Account, const VLT_Char* User,
                                 const VLT_Char* Password, const VLT_Char* URL,
                                 const VLT_Char* Comment, std::int32_t Expires,
                                 std::int32_t CustomForeground, std::int32_t ForegroundColor,
                                 std::int32_t CustomBackground, std::int32_t BackgroundColor,
                                 std::int32_t CreationDate, std::int32_t AccessDate,
                                 std::int32_t ModificationDate, std::int32_t ExpirationDate) {
    auto* s = CallbackAccess::session();
    if (s == nullptr) {
        return 1;
    }
    return guarded(
        [&] {
            Entry entry;
            entry.ID = ID;
            entry.GroupID = GroupID;
            entry.GroupName = orEmpty(GroupName);
            entry.Account = orEmpty(Account);
            entry.User = orEmpty(User);
            entry.Password = std::u16string_view(orEmpty(Password));
            entry.URL = orEmpty(URL);
            entry.Comment = orEmpty(Comment);
            entry.Expires = Expires;
            entry.CustomForeground = CustomForeground;
            entry.ForegroundColor = ForegroundColor;
            entry.CustomBackground = CustomBackground;
            entry.BackgroundColor = BackgroundColor;
            entry.CreationDate = CreationDate;
            entry.AccessDate = AccessDate;
            entry.ModificationDate = ModificationDate;
            entry.ExpirationDate = ExpirationDate;
            CallbackAccess::addEntry(*s, std::move(entry));
            return 1;
        },
        1);
}

}  // namespace vlt
