#include "engine/session/PasswordChange.h"

#include "engine/vault/Engine.h"

namespace vlt {

int ChangePassword(Engine& engine) {
    Desktop& desktop = engine.desktop;
    if (engine.ContainerPath.empty()) {
        desktop.Message(u"Information",
                        u"The password can't be changed at the moment (no open container).",
                        MessageIcon::Information);
        return 0;
    }
    SecureText password = desktop.AskPassword(kPasswordChange);
    if (password.empty()) {
        return 0;
    }
    engine.ContainerPassword = password;
    desktop.Message(
        u"Information",
        u"The password has been changed successfully, however you need to save the file to use "
        u"the new password. The new password will be employed when you will next save the "
        u"container file.",
        MessageIcon::Information);
    return 1;
}

}  // namespace vlt
