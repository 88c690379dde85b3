#pragma once
// The KeePass 1.x CSV layout: a byte-order mark, a header, then five quoted fields per entry.
//
// Field escape: \ becomes \\, then " becomes \" ; every other character, line breaks included,
// is written as it is inside the quotes, so a record may span several lines of the file.

#include "ExportWalk.h"

namespace vlt::plugin {

void ExportKeePassCSV(ExportJob& job);

}  // namespace vlt::plugin
