#pragma once
// The INI layout: every group and entry field the plugin interface exposes, one key per line,
// read back by the INI importer.
//
// Value escape: a value is written exactly as stored unless it contains CR or LF or begins with
// the two characters \* ; such a value is written as \* followed by the value with \ -> \\,
// CR -> \r and LF -> \n. A reader unescapes a value that begins with \* and takes every other
// value literally, so every stored value comes back, and a reader that knows nothing of the rule
// still finds one key per line.

#include "ExportWalk.h"

namespace vlt::plugin {

inline constexpr char16_t kKeyleafVersion[] = u"1.0";

void WriteIniValue(ExportOutput& out, std::u16string_view value);

void ExportINI(ExportJob& job);

}  // namespace vlt::plugin
