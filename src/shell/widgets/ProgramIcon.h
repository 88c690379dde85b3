#pragma once
// The program's own icon, which every window carries (the same picture the file association
// installs for ".vlt" files).

#include <QIcon>

namespace vlt {

QIcon ProgramIcon();

}  // namespace vlt
