#include "TextWriter.h"

namespace vlt::plugin {

namespace {

// A comment's CR LF pairs become one blank each; every other character is kept.
void writeComment(ExportOutput& out, std::u16string_view text) {
    std::size_t start = 0;
    for (std::size_t pair = text.find(u"\r\n"); pair != std::u16string_view::npos;
         pair = text.find(u"\r\n", start)) {
        out << text.substr(start, pair - start) << " ";
        start = pair + 2;
    }
    out << text.substr(start);
}

void writeEntry(ExportOutput& out, const VLT_Entry& e) {
    out << "Account = " << e.Account << "\r\n";
    out << "User = " << e.User << "\r\n";
    out << "Password = " << e.Password << "\r\n";
    out << "URL = " << e.URL << "\r\n";
    out << "Comment = ";
    writeComment(out, e.Comment);
    out << "\r\n";
    out << "Creation date = " << DateText(e.CreationDate) << "\r\n";
    out << "Access date = " << DateText(e.AccessDate) << "\r\n";
    out << "Modification date = " << DateText(e.ModificationDate) << "\r\n";
    out << "Expiration date = " << DateText(e.ExpirationDate) << "\r\n";
    out << "\r\n";
}

// The group's banner, then every entry filed under it; the bar moves for every entry of the
// vault, as though the whole list were walked for each group.
void writeGroup(const EntryIndex& index, ExportOutput& out, Progress& progress,
                const VLT_Group& g) {
    out << "========== " << g.Name << " ==========\r\n";
    for (const VLT_Entry* e : index.under(g.ID)) {
        writeEntry(out, *e);
    }
    StepOverEntries(index, progress);
}

}  // namespace

void ExportTXT(ExportJob& job) {
    RecordSource& records = job.records;
    ExportOutput& out = job.out;
    const std::int32_t groups = records.countGroups();
    const std::int32_t entries = records.countEntries();
    Progress progress(entries, job.showProgress);

    out << "\r\n;Orvelline Vaultwick Listing\r\n;Exporter: " << kPlainleafVersion
        << "\r\n;Exported on: " << DateText(job.now) << "\r\n\r\n\r\n";

    if (job.scope.whole) {
        const EntryIndex index(records);
        records.countGroups();
        for (std::int32_t i = 0; i < groups; ++i) {
            if (const VLT_Group* g = records.nextGroup()) {
                writeGroup(index, out, progress, *g);
                out << "\r\n";
            }
        }
        return;
    }
    if (job.scope.groups.empty()) {
        return;
    }
    const EntryIndex index(records);
    for (std::int32_t wanted : job.scope.groups) {
        const std::int32_t count = records.countGroups();
        for (std::int32_t i = 0; i < count; ++i) {
            const VLT_Group* g = records.nextGroup();
            if (g != nullptr && g->ID == wanted) {
                writeGroup(index, out, progress, *g);
                break;
            }
        }
    }
}

}  // namespace vlt::plugin
