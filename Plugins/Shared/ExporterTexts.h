#pragma once
// The texts that tell the five exporter windows apart. A null tooltip means none.

namespace vlt::plugin {

struct ExporterTexts {
    const char* title;
    const char* bandTitle;
    const char* bandText;
    const char* pathLabel;
    const char* dialogTitle;
    const char* filter;
    const char* extension;  // with its dot
    const char* emptyPathMessage;
    const char* successMessage;
    const char* selectedTip;
    const char* listTip;
    const char* pathTip;
    const char* browseTip;
    const char* exportTip;
};

}  // namespace vlt::plugin
