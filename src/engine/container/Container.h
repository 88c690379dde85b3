#pragma once
// Opening, saving and closing the container file: the steps the user goes through, with their
// questions, messages, trace lines and progress. The byte format lives in ContainerCodec.

#include <string>

#include "engine/vault/Engine.h"

namespace vlt {

// Loads a container (asking for the file when path is empty). 1 when loaded, 0 otherwise; a
// refused file leaves the open vault exactly as it was.
int OpenContainer(Engine& engine, const std::u16string& path);

// Whether CloseContainer asks the user first.
enum CloseMode : int { kCloseAsking = 0, kCloseWithoutAsking = 1 };

// Empties the vault, asking first unless told not to. 1 when cleared, 0 when declined.
int CloseContainer(Engine& engine, CloseMode mode);

// Saves over the open container with its kept password, or asks when there is none.
int SaveContainer(Engine& engine);

enum SaveMode : int {
    // Asks the password, the file name (when path is empty) and before replacing a file.
    kSaveAs = 0,
    // Saves over path with the kept password, backing it up first when configured.
    kSaveOver = 1,
};

// 1 when the file was written; on any failure the previous file is left whole.
int SaveContainerAs(Engine& engine, const std::u16string& path, SaveMode mode);

// The automatic backup name: folder, the name with every ".ext" removed, "_", the date,
// "_backup", ".ext".
// A second backup within the same second gets "_2" (and so on) after "_backup", so that it never
// replaces the first.
std::u16string BackupPath(const std::u16string& path, std::int32_t now, int copy = 1);

// Title texts the flows set.
std::u16string NoContainerTitle();
std::u16string ContainerTitle(const std::u16string& path);

}  // namespace vlt
