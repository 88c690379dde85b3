#include "shell/dialogs/PluginManagerWindow.h"

#include <QHeaderView>
#include <QPixmap>
#include <QTreeWidget>

#include "engine/Desktop.h"
#include "host/PluginInstall.h"
#include "host/PluginLaunchers.h"
#include "host/PluginList.h"
#include "shell/app/QtText.h"
#include "shell/widgets/Banners.h"
#include "shell/widgets/DialogParts.h"
#include "shell/widgets/IconCatalog.h"

namespace vlt {
namespace {

constexpr int kCloseImage = 1;
constexpr int kInstallImage = 7;
constexpr int kRemoveImage = 8;
constexpr int kLaunchImage = 9;
constexpr int kIconSide = 16;  // plugin icons are 16 x 16

QString typeName(int type) {
    switch (type) {
        case Tool:
            return QStringLiteral("Tool");
        case Importer:
            return QStringLiteral("Importer");
        case Exporter:
            return QStringLiteral("Exporter");
        case Previewer:
            return QStringLiteral("Previewer");
        default:
            return QStringLiteral("Unknown");
    }
}

}  // namespace

PluginManagerWindow::PluginManagerWindow(PluginList& plugins, Desktop& desktop, std::string folder,
                                         std::function<void()> changed, QWidget* parent)
    : QDialog(parent),
      plugins_(plugins),
      desktop_(desktop),
      folder_(std::move(folder)),
      changed_(std::move(changed)) {
    setObjectName(QStringLiteral("pluginManager"));
    setWindowTitle(QStringLiteral("Plugin manager"));
    setFixedSize(425, 245);
    makeBanner(this, Banner(kBannerPluginManager));
    SeparatorGadget(this, 0, 40, 430, 5);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("pluginList"));
    list_->setGeometry(5, 50, 415, 150);
    list_->setToolTip(QStringLiteral("List of detected plugins"));
    list_->setRootIsDecorated(false);
    list_->setIconSize(QSize(kIconSide, kIconSide));
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                            QStringLiteral("Version"), QStringLiteral("Description"),
                            QStringLiteral("Author")});
    const int widths[] = {140, 60, 60, 200, 120};
    for (int i = 0; i < 5; ++i) {
        list_->setColumnWidth(i, widths[i]);
    }
    // A double click or Return on a row launches it, so the list works without the mouse too.
    connect(list_, &QTreeWidget::itemActivated, this,
            &PluginManagerWindow::VLT_Plugin_LaunchSelected);
    SeparatorGadget(this, 0, 207, 430, 5);

    auto* install =
        makeImageButton(this, "installButton", QRect(5, 215, 100, 25), QStringLiteral("Install"),
                        ButtonIcon(kInstallImage), QStringLiteral("Install a new plugin"));
    auto* remove =
        makeImageButton(this, "removeButton", QRect(110, 215, 100, 25), QStringLiteral("Remove"),
                        ButtonIcon(kRemoveImage), QStringLiteral("Remove an existing plugin"));
    auto* launch =
        makeImageButton(this, "launchButton", QRect(215, 215, 100, 25), QStringLiteral("Launch"),
                        ButtonIcon(kLaunchImage), QStringLiteral("Launch a tool plugin"));
    auto* close =
        makeImageButton(this, "closeButton", QRect(320, 215, 100, 25), QStringLiteral("Close"),
                        ButtonIcon(kCloseImage), QStringLiteral("Close the window"));
    connect(install, &QPushButton::clicked, this, &PluginManagerWindow::VLT_Plugin_Install);
    connect(remove, &QPushButton::clicked, this, &PluginManagerWindow::VLT_Plugin_Remove);
    connect(launch, &QPushButton::clicked, this, &PluginManagerWindow::VLT_Plugin_LaunchSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    VLT_Plugin_FillList();
}

int PluginManagerWindow::VLT_Plugin_FillList() {
    list_->clear();
    // A plugin without an icon gets a blank one, so that its row is as high as the others and
    // its name stands in line with theirs.
    QPixmap blank(kIconSide, kIconSide);
    blank.fill(Qt::transparent);
    for (const VLTPlg& p : plugins_.records()) {
        auto* row = new QTreeWidgetItem(
            list_, {qs(p.Name), typeName(p.Type), qs(p.Version), qs(p.Description), qs(p.Author)});
        row->setData(0, Qt::UserRole, p.ID);
        row->setIcon(0,
                     p.IconImage.isNull() ? QIcon(blank) : QIcon(QPixmap::fromImage(p.IconImage)));
    }
    return 0;
}

int PluginManagerWindow::selectedId() const {
    const QTreeWidgetItem* row = list_->currentItem();
    return row != nullptr && row->isSelected() ? row->data(0, Qt::UserRole).toInt() : 0;
}

void PluginManagerWindow::VLT_Plugin_LaunchSelected() {
    const int index = plugins_.indexOf(selectedId());
    if (index < 0) {
        desktop_.Message(u"Information", u"Please select a plugin from the list first.",
                         MessageIcon::Information);
        return;
    }
    plugins_.VLT_Plugin_Select(index);
    ReportLaunchResult(desktop_, VLT_Plugin_LaunchTool(plugins_), u"Plugin_Start");
}

void PluginManagerWindow::VLT_Plugin_Install() {
    vlt::VLT_Plugin_Install(plugins_, desktop_, folder_, [this] {
        VLT_Plugin_FillList();
        changed_();
    });
}

void PluginManagerWindow::VLT_Plugin_Remove() {
    vlt::VLT_Plugin_Remove(plugins_, desktop_, selectedId(), [this] {
        VLT_Plugin_FillList();
        changed_();
    });
}

}  // namespace vlt
