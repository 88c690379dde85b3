#pragma once
// The system's own CSV layout: group name, account, login name, password, comment and creation
// date of every entry, read back by the own-layout CSV importer.
//
// Field escape: every field is enclosed in double quotes and a double quote inside it is doubled
// (standard CSV); in the comment a CR LF pair, a lone CR and a lone LF each become one blank, so
// a comment never breaks its record over two lines. Everything else is written as stored.

#include "ExportWalk.h"

namespace vlt::plugin {

void ExportCSV(ExportJob& job);

}  // namespace vlt::plugin
