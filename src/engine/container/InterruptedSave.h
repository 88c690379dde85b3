#pragma once
// What the container flows do about saves that were interrupted while they rewrote a file in
// place: where the rescue copies go when they cannot lie beside the file, and offering such a
// copy when the file it belongs to cannot be opened.

#include <string>

#include "engine/vault/Engine.h"

namespace vlt {

// The folder for rescue copies that cannot lie beside their container: the data folder, the one
// "Config.ini" is in, ending in "/"; "" when the engine was given none.
std::string RescueDataFolder(const Engine& engine);

// The whole copy an interrupted save left of the file at `path`, "" when there is none.
std::u16string RescueCopyOf(const Engine& engine, const std::u16string& path);

// Why a copy is offered: the file itself is damaged, or the password typed does not open the
// file but does open the copy.
enum class CopyOffer { DamagedFile, OpensWithPassword };

// Says when the save that left `copy` was made and where the copy lies, and asks whether to open
// it instead of its file: true when the user wants it.
bool OfferRescueCopy(Engine& engine, const std::u16string& copy, CopyOffer why);

}  // namespace vlt
