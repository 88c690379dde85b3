#include "IniImport.h"

#include <utility>
#include <vector>

#include "ImportFile.h"
#include "ImportText.h"
#include "engine/text/Text.h"

namespace vlt::import {

namespace {

struct IniSection {
    std::vector<std::pair<std::u16string, std::u16string>> keys;  // lower-cased key, value

    ~IniSection() {
        for (auto& key : keys) {
            wipe(key.second);
        }
    }
    IniSection() = default;
    IniSection(IniSection&&) = default;
    IniSection& operator=(IniSection&&) = default;

    const std::u16string& text(std::u16string_view key) const {
        static const std::u16string empty;
        for (const auto& [name, value] : keys) {
            if (name == key) {
                return value;
            }
        }
        return empty;
    }
    std::int32_t number(std::u16string_view key) const { return IniNumber(text(key)); }
};

std::vector<IniSection> readSections(std::u16string_view text) {
    std::vector<IniSection> sections;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        const std::u16string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == u'\r') {
            ++pos;
        }
        if (pos < text.size() && text[pos] == u'\n') {
            ++pos;
        }
        const std::u16string_view bare = trimBlanksTabs(line);
        if (bare.empty() || bare.front() == u';') {
            continue;
        }
        if (bare.front() == u'[' && bare.back() == u']' && bare.size() >= 2) {
            sections.emplace_back();
            continue;
        }
        const std::size_t equals = line.find(u'=');
        if (sections.empty() || equals == std::u16string_view::npos) {
            continue;
        }
        const std::u16string key = lowerAscii(trimBlanksTabs(line.substr(0, equals)));
        if (key.empty()) {
            continue;
        }
        std::u16string_view value = line.substr(equals + 1);
        if (value.starts_with(u' ')) {
            value.remove_prefix(1);
        }
        sections.back().keys.emplace_back(key, iniValue(value));
    }
    return sections;
}

}  // namespace

std::u16string iniValue(std::u16string_view written) {
    if (!written.starts_with(u"\\*")) {
        return std::u16string(written);
    }
    std::u16string out;
    out.reserve(written.size());
    for (std::size_t i = 2; i < written.size(); ++i) {
        const char16_t c = written[i];
        const char16_t following = i + 1 < written.size() ? written[i + 1] : u'\0';
        if (c == u'\\' && (following == u'\\' || following == u'r' || following == u'n')) {
            out += following == u'\\' ? u'\\' : following == u'r' ? u'\r' : u'\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

ImportResult ImportIni_ReadBytes(std::string_view bytes, ImportSink& sink) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::u16string text = fromUtf8(bytes);
    WipeOnExit wipeText(text);
    const std::vector<IniSection> sections = readSections(text);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const IniSection& s = sections[i];
        const std::int32_t type = s.number(u"entrytype");
        if (type == 0) {
            sink.addGroup(GroupRecord{s.text(u"name"), s.number(u"icon"), s.number(u"groupid"),
                                      s.number(u"depth")});
        } else if (type == 1) {
            EntryRecord e;
            e.ID = s.number(u"id");
            e.GroupID = s.number(u"groupid");
            e.GroupName = s.text(u"groupname");
            e.Account = s.text(u"account");
            e.User = s.text(u"user");
            e.Password = s.text(u"password");
            e.URL = s.text(u"url");
            e.Comment = s.text(u"comment");
            e.Expires = s.number(u"expires");
            e.CustomForeground = s.number(u"customforeground");
            e.ForegroundColor = s.number(u"foregroundcolor");
            e.CustomBackground = s.number(u"custombackground");
            e.BackgroundColor = s.number(u"backgroundcolor");
            e.CreationDate = s.number(u"creationdate");
            e.AccessDate = s.number(u"accessdate");
            e.ModificationDate = s.number(u"modificationdate");
            e.ExpirationDate = s.number(u"expirationdate");
            sink.addEntry(e);
        }
        sink.progressOf(i + 1, sections.size());
    }
    return importedSuccessfully();
}

ImportResult ImportIni_ReadFile(const std::string& path, ImportSink& sink) {
    return importFileBytes(path, sink, ImportIni_ReadBytes);
}

}  // namespace vlt::import
