#include "shell/main/X11Connection.h"

#include <QGuiApplication>

namespace vlt {

xcb_connection_t* X11Connection() {
    auto* x11 =
        qApp != nullptr ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace vlt
