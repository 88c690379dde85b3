#pragma once
// The INI reader: one section per group or entry, in file order, handed back with every field
// (the sections as IniSections.h reads them). A text value that starts with "\*" was escaped by
// the exporter when every backslash after that starts "\\", "\r" or "\n" (a backslash, CR, LF)
// and it holds no raw line break; any other value is kept as stored.

#include <string>
#include <string_view>

#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

// A value as written after "key = ", escapes undone.
std::u16string iniValue(std::u16string_view written);

ImportResult ImportIni_ReadBytes(std::string_view bytes, ImportSink& sink);
ImportResult ImportIni_ReadFile(const std::string& path, ImportSink& sink);

}  // namespace vlt::import
