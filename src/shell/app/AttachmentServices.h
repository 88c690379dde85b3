#pragma once
// The entry editor's attachment commands, bound to the engine and the loaded previewers.

#include "shell/dialogs/EntryWindow.h"

namespace vlt {

struct Engine;
class PluginList;

EntryAttachmentServices BindAttachmentServices(Engine& engine, PluginList& plugins);

}  // namespace vlt
