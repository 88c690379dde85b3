#pragma once
// What the container flows do about saves that were interrupted while they rewrote a file in
// place: where the rescue copies go when they cannot lie beside the file, and offering such a
// copy when the file it belongs to turns out damaged.

#include <string>

#include "engine/vault/Engine.h"

namespace vlt {

// The folder for rescue copies that cannot lie beside their container: the data folder, the one
// "Config.ini" is in, ending in "/"; "" when the engine was given none.
std::string RescueDataFolder(const Engine& engine);

// Asked when the file at `path` failed its checks. When an interrupted save left a whole copy of
// it, says so and offers to open that copy instead: its path when the user wants it, else "".
std::u16string OfferRescueCopy(Engine& engine, const std::u16string& path);

}  // namespace vlt
