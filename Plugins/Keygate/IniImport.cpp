#include "IniImport.h"

#include <vector>

#include "ImportFile.h"
#include "ImportText.h"
#include "IniSections.h"
#include "common/IniLines.h"
#include "common/Utf.h"

namespace vlt::import {

namespace {

bool isEscape(char16_t c) {
    return c == u'\\' || c == u'r' || c == u'n';
}

// What the exporter writes after "\*": no raw line break, and every backslash starts an escape.
bool isEscaped(std::u16string_view written) {
    if (written.find_first_of(u"\r\n") != std::u16string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == u'\\') {
            if (i + 1 >= written.size() || !isEscape(written[i + 1])) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

}  // namespace

std::u16string iniValue(std::u16string_view written) {
    if (!written.starts_with(u"\\*") || !isEscaped(written.substr(2))) {
        return std::u16string(written);
    }
    std::u16string out;
    out.reserve(written.size());
    for (std::size_t i = 2; i < written.size(); ++i) {
        if (written[i] == u'\\') {
            const char16_t c = written[++i];
            out += c == u'\\' ? u'\\' : c == u'r' ? u'\r' : u'\n';
        } else {
            out += written[i];
        }
    }
    return out;
}

namespace {

std::u16string textOf(const IniSection& s, std::u16string_view key) {
    return iniValue(s.text(key));
}

}  // namespace

ImportResult ImportIni_ReadBytes(std::string_view bytes, ImportSink& sink) {
    skipByteOrderMark(bytes);
    std::u16string text = fromUtf8(bytes);
    WipeOnExit wipeText(text);
    const std::vector<IniSection> sections = readIniSections(text);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const IniSection& s = sections[i];
        const std::int32_t type = s.number(u"entrytype");
        if (type == 0) {
            sink.addGroup(GroupRecord{textOf(s, u"name"), s.number(u"icon"), s.number(u"groupid"),
                                      s.number(u"depth")});
        } else if (type == 1) {
            EntryRecord e;
            e.ID = s.number(u"id");
            e.GroupID = s.number(u"groupid");
            e.GroupName = textOf(s, u"groupname");
            e.Account = textOf(s, u"account");
            e.User = textOf(s, u"user");
            e.Password = textOf(s, u"password");
            e.URL = textOf(s, u"url");
            e.Comment = textOf(s, u"comment");
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
