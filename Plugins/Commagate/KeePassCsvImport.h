#pragma once
// The KeePass 1.x CSV reader: a header of five known columns, then one entry per record, all
// under one new group "Imported entries".

#include <string>
#include <string_view>

#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

// The file's text: UTF-8 after EF BB BF, UTF-16LE after FF FE, otherwise Windows-1252.
std::u16string decodeKeePassCsv(std::string_view bytes);

ImportResult ImportKpCsv_ReadBytes(std::string_view bytes, ImportSink& sink);
ImportResult ImportKpCsv_ReadFile(const std::string& path, ImportSink& sink);

}  // namespace vlt::import
