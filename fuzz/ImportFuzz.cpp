// libFuzzer target for the importers' readers: whatever the bytes, each reader must refuse or
// import them without reading out of bounds. The first byte picks the reader: KeePass 1.x CSV,
// own CSV, INI, a whole version-3 container (password "pw"), or a decrypted version-3 plaintext.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ImportSink.h"
#include "IniImport.h"
#include "KeePassCsvImport.h"
#include "OwnCsvImport.h"
#include "V3Container.h"

namespace {

volatile unsigned touched = 0;

// Touches every text handed over, so that a field pointing outside its buffer is found here.
class CheckingSink : public vlt::import::ImportSink {
  public:
    ~CheckingSink() override { touched = sum_; }
    void addGroup(const vlt::import::GroupRecord& g) override { sum_ += touch(g.Name); }
    void addEntry(const vlt::import::EntryRecord& e) override {
        for (const std::u16string* text :
             {&e.GroupName, &e.Account, &e.User, &e.Password, &e.URL, &e.Comment}) {
            sum_ += touch(*text);
        }
    }
    std::int32_t drawGroupId() override { return nextId_++; }
    void progress(int percent) override { sum_ += static_cast<unsigned>(percent); }

  private:
    static unsigned touch(const std::u16string& text) {
        unsigned s = 0;
        for (char16_t c : text) {
            s += c;
        }
        return s;
    }
    unsigned sum_ = 0;
    std::int32_t nextId_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckingSink sink;
    switch (data[0] % 5) {
        case 0:
            vlt::import::ImportKpCsv_ReadBytes(bytes, sink);
            break;
        case 1:
            vlt::import::ImportCsv_ReadBytes(bytes, sink);
            break;
        case 2:
            vlt::import::ImportIni_ReadBytes(bytes, sink);
            break;
        case 3:
            vlt::import::ImportV3_ReadBytes(bytes, u"pw", sink);
            break;
        default:
            vlt::import::ImportV3_HandOver(bytes, sink);
            break;
    }
    return 0;
}
