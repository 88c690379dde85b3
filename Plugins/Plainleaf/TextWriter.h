#pragma once
// The plain-text listing: a banner per group, then its entries as "key = value" lines.

#include "ExportWalk.h"

namespace vlt::plugin {

inline constexpr char16_t kPlainleafVersion[] = u"1.1";

void ExportTXT(ExportJob& job);

}  // namespace vlt::plugin
