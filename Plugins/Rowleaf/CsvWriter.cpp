#include "CsvWriter.h"

namespace vlt::plugin {

namespace {

void field(ExportOutput& out, std::u16string_view text, bool lineBreaksAsBlanks) {
    out << "\"";
    std::size_t units = 1;
    for (std::size_t i = 0; i < text.size(); i += units) {
        const char32_t c = CodePointAt(text, i, units);
        if (c == u'"') {
            out << "\"\"";
        } else if (lineBreaksAsBlanks && (c == u'\r' || c == u'\n')) {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                units = 2;
            }
            out << " ";
        } else {
            out.put(c);
        }
    }
    out << "\"";
}

}  // namespace

void ExportCSV(ExportJob& job) {
    job.records.countGroups();
    Progress progress(job.records.countEntries(), job.showProgress);
    ExportOutput& out = job.out;
    out << "\"Group\",\"Account\",\"Login Name\",\"Password\",\"Comments\",\"Date\"\r\n";
    WalkEntries(job.records, job.scope, progress, [&out](const VLT_Entry& e) {
        field(out, e.GroupName, false);
        out << ",";
        field(out, e.Account, false);
        out << ",";
        field(out, e.User, false);
        out << ",";
        field(out, e.Password, false);
        out << ",";
        field(out, e.Comment, true);
        out << ",\"" << DateText(e.CreationDate) << "\"\r\n";
    });
}

}  // namespace vlt::plugin
