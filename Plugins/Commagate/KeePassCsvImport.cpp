#include "KeePassCsvImport.h"

#include "CsvEntries.h"
#include "CsvRecords.h"
#include "ImportFile.h"
#include "ImportText.h"
#include "common/Utf.h"
#include "common/Windows1252.h"

namespace vlt::import {

std::u16string decodeKeePassCsv(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return fromUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return fromUtf16Le(bytes.substr(2));
    }
    return fromWindows1252(bytes);
}

ImportResult ImportKpCsv_ReadBytes(std::string_view bytes, ImportSink& sink) {
    std::u16string text = decodeKeePassCsv(bytes);
    WipeOnExit wipeText(text);
    std::vector<CsvRecord> records = splitCsv(text, CsvQuoting::Backslash);
    if (records.empty() || !csvHeaderIs(records[0], {u"account", u"login name", u"password",
                                                     u"web site", u"comments"})) {
        wipe(records);
        return refused(u"Warning", u"The selected CSV file is not a standard KeePass 1.x CSV.",
                       kIconWarning);
    }
    const GroupRecord group{u"Imported entries", 0, sink.drawGroupId(), 1};
    sink.addGroup(group);
    return addCsvEntries(records, sink, [&group](const CsvRecord& r, EntryRecord& entry) {
        entry.GroupID = group.GroupID;
        entry.GroupName = group.Name;
        entry.Account = csvField(r, 0);
        entry.User = csvField(r, 1);
        entry.Password = csvField(r, 2);
        entry.URL = csvField(r, 3);
        entry.Comment = csvField(r, 4);
    });
}

ImportResult ImportKpCsv_ReadFile(const std::string& path, ImportSink& sink) {
    return importFileBytes(path, sink, ImportKpCsv_ReadBytes);
}

}  // namespace vlt::import
