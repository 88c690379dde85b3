// VLT: the password manager's main program.

#include <QApplication>
#include <QStringList>

#include "shell/app/Application.h"
#include "shell/app/Prompter.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvelline Vaultwick"));
    // The program ends only through its exit sequence: a message box closed while the main
    // window waits hidden in the tray must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    vlt::Application vlt(QCoreApplication::applicationFilePath().toStdString(),
                         vlt::MessageBoxPrompter::standard());
    if (!vlt.start(QCoreApplication::arguments().mid(1))) {
        return 0;
    }
    return QApplication::exec();
}
