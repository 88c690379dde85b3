#include "engine/container/Container.h"

#include "common/Trim.h"
#include "common/Utf.h"
#include "engine/Version.h"
#include "engine/container/ContainerFlow.h"
#include "engine/text/Text.h"

namespace vlt {

std::u16string NoContainerTitle() {
    return std::u16string(u"Orvelline Vaultwick v") + kProgramVersion + u" -  no container open";
}

std::u16string ContainerTitle(const std::u16string& path) {
    return std::u16string(u"Orvelline Vaultwick v") + kProgramVersion + u" - " + fileNamePart(path);
}

std::u16string BackupPath(const std::u16string& path, std::int32_t now, int copy) {
    const std::u16string extension = extensionPart(path);
    const std::u16string fileName = fileNamePart(path);
    // Every "." + extension of the name is dropped in one left-to-right pass: what the removals
    // join together stays.
    const std::u16string dotted = u"." + extension;
    std::u16string name;
    std::size_t from = 0;
    for (auto at = fileName.find(dotted); at != std::u16string::npos;
         at = fileName.find(dotted, from)) {
        name.append(fileName, from, at - from);
        from = at + dotted.size();
    }
    name.append(fileName, from);
    std::u16string backup =
        folderPart(path) + name + u"_" + FormatDate(u"%mm%dd%yy_%hh%ii%ss_backup", now);
    if (copy > 1) {
        // Appended piece by piece: GCC 12 at -O3 warns a false -Wrestrict on "_" + text.
        backup += u'_';
        backup += decimal(copy);
    }
    // A name without extension gets none, rather than a trailing dot.
    return extension.empty() ? backup : backup + u"." + extension;
}

int CloseContainer(Engine& engine, CloseMode mode) {
    auto& desktop = engine.desktop;
    engine.log.Trace(u"CloseContainer called", kCloseProc);
    if (mode != kCloseWithoutAsking &&
        !desktop.AskYesNo(u"Please confirm",
                          u"Would you like to create a new container? Any unsaved entries will be "
                          u"lost!",
                          MessageIcon::Question)) {
        return 0;
    }
    engine.log.Trace(u"Clearing data", kCloseProc);
    engine.ids.ID_Clear();
    engine.vault.clear();
    desktop.ClearViews();
    engine.ContainerPath.clear();
    engine.ContainerPassword.clear();
    engine.settings.Search.SearchText.clear();
    engine.SearchPosition = -1;
    desktop.SetStatusField(0, u"0 groups / 0 entries");
    desktop.SetStatusField(1, u"0 of 0 selected");
    showContainerPath(engine, u"");
    engine.log.Trace(u"Returning", kCloseProc);
    return 1;
}

int SaveContainer(Engine& engine) {
    int result = 0;
    if (trimBlanks(engine.ContainerPath).empty()) {
        engine.log.Trace(u"Calling SaveContainerAs() with 0 as param", kSaveFrontProc);
        result = SaveContainerAs(engine, u"", kSaveAs);
    } else {
        engine.log.Trace(u"Calling SaveContainerAs() with 1 as param", kSaveFrontProc);
        result = SaveContainerAs(engine, engine.ContainerPath, kSaveOver);
    }
    engine.log.Trace(u"Done", kSaveFrontProc);
    engine.log.Trace(u"Returning", kSaveFrontProc);
    return result;
}

}  // namespace vlt
