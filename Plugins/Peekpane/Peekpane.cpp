// Peekpane: shows an attachment as plain text, or formatted when it is an RTF document.
#include <QCoreApplication>
#include <QString>
#include <QTextDocument>

#include "GuiBridge.h"
#include "PeekpaneWindow.h"
#include "PluginSDK.h"
#include "RtfTextDocument.h"
#include "ToolWindow.h"

extern const unsigned char kPeekpaneIcon[1150];

void Plugin_OnLoad() {
    Plugin_SetName(u"Text preview");
    Plugin_SetVersion(u"1.0");
    Plugin_SetDescription(u"Text preview tool");
    Plugin_SetAuthor(u"Orvelline");
    Plugin_SetType(VLT_PLUGIN_PREVIEWER);
    Plugin_SetIconSize(sizeof kPeekpaneIcon);
    Plugin_SetIconAddress(kPeekpaneIcon);
}

VLT_PLUGIN_EXPORT(Plugin_GetKnownExtensionList)
const VLT_Char* Plugin_GetKnownExtensionList() {
    return u"*";
}

VLT_PLUGIN_EXPORT(Plugin_PreviewStart)
int32_t Plugin_PreviewStart(const uint8_t* Data, int32_t Size) {
    if (Data == nullptr) {
        return 0;
    }
    // The host's bytes are read here, once; the window works on its own copy.
    const auto size = static_cast<std::size_t>(Size > 0 ? Size : 0);
    const vlt::peekpane::PreviewMode mode = vlt::peekpane::DetectPreviewMode(Data, size);
    const char* bytes = reinterpret_cast<const char*>(Data);
    const QString text = QString::fromUtf8(bytes, static_cast<qsizetype>(qstrnlen(bytes, size)));
    // Reading a large document takes seconds: it is built here, on the previewer's own thread,
    // so that the program stays responsive, and only handed to the window on the GUI thread.
    std::unique_ptr<QTextDocument> document =
        vlt::peekpane::PreviewDocument(mode, text, vlt::tools::consoleFont(10));
    document->moveToThread(QCoreApplication::instance()->thread());
    vlt::sdk::runWindow(
        [mode, &document] { return new vlt::peekpane::PeekpaneWindow(mode, document.release()); });
    return 0;
}
