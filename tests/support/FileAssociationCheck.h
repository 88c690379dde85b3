#pragma once
// Reads a file-association registration back from the XDG folders the environment names, as a
// desktop would find it.

#include <string>

namespace vlt::test {

// True when ".vlt" files are registered to open with `programPath`: the MIME package is there,
// mimeapps.list names a desktop file as the container type's default, and the first file of that
// name in $XDG_DATA_HOME or $XDG_DATA_DIRS opens the type with that program (its Exec naming it
// directly, through a link, or on $PATH).
bool IsFileAssociationApplied(const std::string& programPath);

// The program path a desktop reads from an Exec value: the string escapes are undone first,
// then the quoting of the first argument and its doubled percent signs.
std::string ExecProgramOf(const std::string& exec);

// The line of `text` that starts with `start` (such as "Exec="), "" when there is none.
std::string LineStarting(const std::string& text, const std::string& start);

}  // namespace vlt::test
