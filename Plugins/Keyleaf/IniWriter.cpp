#include "IniWriter.h"

#include <algorithm>
#include <string_view>

namespace vlt::plugin {

namespace {

constexpr std::string_view kDashLine = ";-------------------------------------------------------";

void heading(ExportOutput& out, std::string_view title) {
    out << kDashLine << "\r\n" << title << "\r\n" << kDashLine << "\r\n";
}

void key(ExportOutput& out, std::string_view name, std::int32_t number) {
    out << name << " = " << number << "\r\n";
}

void key(ExportOutput& out, std::string_view name, const char16_t* text) {
    out << name << " = ";
    WriteIniValue(out, text);
    out << "\r\n";
}

void writeGroup(ExportOutput& out, const VLT_Group& g) {
    out << "[" << g.ID << "]\r\n";
    key(out, "EntryType", 0);
    key(out, "GroupID", g.ID);
    key(out, "Depth", g.Depth);
    key(out, "Name", g.Name);
    key(out, "Icon", g.Icon);
    out << "\r\n";
}

void writeEntry(ExportOutput& out, const VLT_Entry& e) {
    out << "[" << e.ID << "]\r\n";
    key(out, "EntryType", 1);
    key(out, "ID", e.ID);
    key(out, "GroupID", e.GroupID);
    key(out, "GroupName", e.GroupName);
    key(out, "Account", e.Account);
    key(out, "User", e.User);
    key(out, "Password", e.Password);
    key(out, "URL", e.URL);
    key(out, "Comment", e.Comment);
    key(out, "Expires", e.Expires);
    key(out, "CustomForeground", e.CustomForeground);
    key(out, "ForegroundColor", e.ForegroundColor);
    key(out, "CustomBackground", e.CustomBackground);
    key(out, "BackgroundColor", e.BackgroundColor);
    key(out, "CreationDate", e.CreationDate);
    key(out, "AccessDate", e.AccessDate);
    key(out, "ModificationDate", e.ModificationDate);
    key(out, "ExpirationDate", e.ExpirationDate);
    out << "\r\n";
}

}  // namespace

void WriteIniValue(ExportOutput& out, std::u16string_view value) {
    const bool plain =
        value.find_first_of(u"\r\n") == std::u16string_view::npos && !value.starts_with(u"\\*");
    if (plain) {
        out << value;
        return;
    }
    out << "\\*";
    std::size_t units = 1;
    for (std::size_t i = 0; i < value.size(); i += units) {
        const char32_t c = CodePointAt(value, i, units);
        if (c == u'\\') {
            out << "\\\\";
        } else if (c == u'\r') {
            out << "\\r";
        } else if (c == u'\n') {
            out << "\\n";
        } else {
            out.put(c);
        }
    }
}

void ExportINI(ExportJob& job) {
    RecordSource& records = job.records;
    ExportOutput& out = job.out;
    const std::int32_t groups = records.countGroups();
    const std::int32_t entries = records.countEntries();
    Progress progress(static_cast<std::int64_t>(groups) + entries, job.showProgress);

    out << kDashLine << "\r\n;VLT INI Exporter\r\n;Version: " << kKeyleafVersion
        << "\r\n;Exported on: " << DateText(job.now) << "\r\n;Total groups/entries: " << groups
        << "/" << entries << "\r\n"
        << kDashLine << "\r\n\r\n";

    heading(out, ";Group list");
    std::vector<std::int32_t> written;
    if (job.scope.whole) {
        records.countGroups();
        for (std::int32_t i = 0; i < groups; ++i) {
            if (const VLT_Group* g = records.nextGroup()) {
                writeGroup(out, *g);
            }
            progress.step();
        }
    } else {
        // The scan for a ticked group moves the bar for every group it passes over, but not for
        // the one it finds.
        for (std::int32_t wanted : job.scope.groups) {
            const std::int32_t count = records.countGroups();
            for (std::int32_t i = 0; i < count; ++i) {
                const VLT_Group* g = records.nextGroup();
                if (g != nullptr && g->ID == wanted) {
                    writeGroup(out, *g);
                    written.push_back(g->ID);
                    break;
                }
                progress.step();
            }
        }
    }

    heading(out, ";Entry list");
    records.countEntries();
    for (std::int32_t i = 0; i < entries; ++i) {
        const VLT_Entry* e = records.nextEntry();
        if (e != nullptr && (job.scope.whole || std::find(written.begin(), written.end(),
                                                          e->GroupID) != written.end())) {
            writeEntry(out, *e);
        }
        progress.step();
    }
}

}  // namespace vlt::plugin
