#include "OwnCsvImport.h"

#include <map>
#include <unordered_set>

#include "CsvEntries.h"
#include "CsvRecords.h"
#include "ImportFile.h"
#include "ImportText.h"
#include "OwnCsvRecords.h"
#include "common/AsciiCase.h"
#include "common/IniLines.h"
#include "common/Trim.h"
#include "common/Utf.h"

namespace vlt::import {

namespace {

// The groups one import makes, with IDs unique within it.
class ImportGroups {
  public:
    explicit ImportGroups(ImportSink& sink) : sink_(sink) {}

    std::int32_t idFor(const std::u16string& name) {
        const std::u16string key = lowerAscii(trimBlanks(name));
        if (auto found = byName_.find(key); found != byName_.end()) {
            return found->second;
        }
        std::int32_t id = sink_.drawGroupId();
        while (!drawn_.insert(id).second) {
            id = sink_.drawGroupId();
        }
        sink_.addGroup(GroupRecord{name, 0, id, 1});
        byName_.emplace(key, id);
        return id;
    }

  private:
    ImportSink& sink_;
    std::map<std::u16string, std::int32_t> byName_;
    std::unordered_set<std::int32_t> drawn_;
};

}  // namespace

ImportResult ImportCsv_ReadBytes(std::string_view bytes, ImportSink& sink) {
    // UTF-8, as the exporter writes it; spreadsheets put a byte-order mark before the header.
    skipByteOrderMark(bytes);
    std::u16string text = fromUtf8(bytes);
    WipeOnExit wipeText(text);
    std::vector<CsvRecord> records = splitOwnCsv(text);
    if (records.empty() || !csvHeaderIs(records[0], {u"group", u"account", u"login name",
                                                     u"password", u"comments", u"date"})) {
        wipe(records);
        return refused(u"Warning", u"This is not a valid VLT CSV file.", kIconWarning);
    }
    ImportGroups groups(sink);
    return addCsvEntries(records, sink, [&groups](const CsvRecord& r, EntryRecord& entry) {
        entry.GroupName = csvField(r, 0);
        entry.GroupID = groups.idFor(entry.GroupName);
        entry.Account = csvField(r, 1);
        entry.User = csvField(r, 2);
        entry.Password = csvField(r, 3);
        entry.Comment = csvField(r, 4);
    });
}

ImportResult ImportCsv_ReadFile(const std::string& path, ImportSink& sink) {
    return importFileBytes(path, sink, ImportCsv_ReadBytes);
}

}  // namespace vlt::import
