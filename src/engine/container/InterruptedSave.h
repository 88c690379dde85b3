#pragma once
// What the container flows do about saves that were interrupted while they rewrote a file in
// place: where the rescue copies go when they cannot lie beside the file, and offering such a
// copy when the file it belongs to cannot be opened.

#include <sys/stat.h>

#include <string>

#include "engine/container/RescueCopy.h"
#include "engine/vault/Engine.h"

namespace vlt {

// The folder for rescue copies that cannot lie beside their container: the data folder, the one
// "Config.ini" is in, ending in "/"; "" when the engine was given none.
std::string RescueDataFolder(const Engine& engine);

// The whole copy an interrupted save left of the file at `path`, open; its path is "" when there
// is none.
FoundCopy RescueCopyOf(const Engine& engine, const std::u16string& path);

// True when the copy's time fits an interrupted rewrite of the file: made no later than the
// file's last change and at most 10 minutes before it. A copy older than that was left before
// the file was saved whole again, and may hold a vault long out of date.
bool FitsInterruptedRewrite(const struct stat& copy, const struct stat& file);

// Why a copy is offered: the file itself is damaged, or it was left incomplete by the rewrite (it
// does not open with the password typed, while the copy the rewrite made does).
enum class CopyOffer { DamagedFile, IncompleteFile };

// Says when the save that left the copy at `copyPath` was made, when the file last changed and
// where the copy lies, and asks whether to open the copy instead of its file: true when the user
// wants it.
bool OfferRescueCopy(Engine& engine, const std::u16string& copyPath, const struct stat& copy,
                     const struct stat& file, CopyOffer why);

}  // namespace vlt
