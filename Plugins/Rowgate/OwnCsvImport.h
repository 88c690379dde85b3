#pragma once
// The reader of the program's own CSV layout: a header of six known columns, then one entry per
// record, with one new depth-1 group per distinct group name (compared without case and outer
// blanks; the first spelling names the group).

#include <string>
#include <string_view>

#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

ImportResult ImportCsv_ReadBytes(std::string_view bytes, ImportSink& sink);
ImportResult ImportCsv_ReadFile(const std::string& path, ImportSink& sink);

}  // namespace vlt::import
