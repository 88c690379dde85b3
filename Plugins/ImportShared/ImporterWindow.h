#pragma once
// The window every importer shows: the user picks a file and starts the import; the reader then
// runs on the plugin's thread with the progress bar following, its message is shown, and the
// window ends. One import per run at most.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "ImportResult.h"
#include "ImportSink.h"

namespace vlt::import {

struct ImporterTexts {
    QString title;
    QString bandTitle;
    QString bandText;
    QString label;
    QString pathTip;
    QString browseTip;
    QString importTip;
    QString dialogTitle;
    QString filter;  // as QFileDialog takes it: "CSV file (*.csv)"
    QString emptyPath;
    const void* icon = nullptr;  // the plugin's icon file
    std::int32_t iconSize = 0;
};

using ImportReader = std::function<ImportResult(const std::string& path, ImportSink& sink)>;

// Runs the window until it is closed, the host asks the plugin to quit, or one import has run;
// returns 0. May be called on the plugin's thread or on the GUI thread.
std::int32_t RunImporterWindow(const ImporterTexts& texts, const ImportReader& read,
                               ImportSink& sink);

}  // namespace vlt::import
