#pragma once
// The INI reader: one section per group or entry, in file order, handed back with every field.
//
// A line "[name]" starts a new record (a repeated name starts another one), ";" starts a
// comment, and "key = value" sets a key of the current record; any other line, and any key line
// before the first section, is ignored. Keys ignore letter case; of a repeated key the first
// counts. Exactly one blank after the "=" belongs to the layout; the value is the rest, as
// written, unless it starts with "\*": then "\\", "\r" and "\n" after it stand for a backslash,
// CR and LF (other backslashes are kept).

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
