#include "shell/widgets/IconCatalog.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QString>
#include <memory>
#include <vector>

// The resource file lives in the static shell library, whose registration the linker would drop
// as unreferenced: register it explicitly (outside any namespace, as the macro requires).
static void registerIconResources() {
    Q_INIT_RESOURCE(vlt_icons);
}

namespace vlt {

namespace {

struct IconTables {
    std::vector<QIcon> menu;
    std::vector<QIcon> group;
    std::vector<QIcon> button;
    QIcon empty;
};

std::unique_ptr<IconTables>& tablesSlot() {
    static std::unique_ptr<IconTables> tables;
    return tables;
}

std::vector<QIcon> loadTable(const char* table, int count) {
    std::vector<QIcon> icons;
    icons.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QPixmap picture(QStringLiteral(":/icons/%1/%2.png").arg(QLatin1String(table)).arg(i));
        icons.push_back(picture.isNull() ? QIcon() : QIcon(picture));
    }
    return icons;
}

// Pixmaps belong to the GUI application: drop the tables when it goes away.
void releaseTables() {
    tablesSlot().reset();
}

const IconTables& tables() {
    auto& slot = tablesSlot();
    if (!slot) {
        registerIconResources();
        slot = std::make_unique<IconTables>();
        slot->menu = loadTable("menu", kMenuIconCount);
        slot->group = loadTable("group", kGroupIconCount);
        slot->button = loadTable("button", kButtonIconCount);
        qAddPostRoutine(releaseTables);
    }
    return *slot;
}

const QIcon& pick(const std::vector<QIcon>& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return tables().empty;
    }
    return table[static_cast<std::size_t>(index)];
}

}  // namespace

const QIcon& MenuIcon(int index) {
    return pick(tables().menu, index);
}
const QIcon& GroupIcon(int index) {
    return pick(tables().group, index);
}
const QIcon& ButtonIcon(int index) {
    return pick(tables().button, index);
}

}  // namespace vlt
