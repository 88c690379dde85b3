#include "KeePassCsvWriter.h"

namespace vlt::plugin {

namespace {

void field(ExportOutput& out, std::u16string_view text) {
    out << "\"";
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        const char32_t c = CodePointAt(text, i, units);
        if (c == u'\\') {
            out << "\\\\";
        } else if (c == u'"') {
            out << "\\\"";
        } else {
            out.put(c);
        }
    }
    out << "\"";
}

}  // namespace

void ExportKeePassCSV(ExportJob& job) {
    job.records.countGroups();
    Progress progress(job.records.countEntries(), job.showProgress);
    ExportOutput& out = job.out;
    out << "\xEF\xBB\xBF"
        << "\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"\r\n";
    WalkEntries(job.records, job.scope, progress, [&out](const VLT_Entry& e) {
        field(out, e.Account);
        out << ",";
        field(out, e.User);
        out << ",";
        field(out, e.Password);
        out << ",";
        field(out, e.URL);
        out << ",";
        field(out, e.Comment);
        out << "\r\n";
    });
}

}  // namespace vlt::plugin
