#include "shell/widgets/Banners.h"

#include <QCoreApplication>
#include <QPainter>
#include <array>
#include <memory>

#include "shell/widgets/Painting.h"
#include "shell/widgets/UiFonts.h"

namespace vlt {

namespace {

struct BannerText {
    int width;
    const char* title;
    const char* subtitle;
};

constexpr const char* kSecureSubtitle =
    "Please enter the master password that will be used to secure the data";
constexpr const char* kDecryptSubtitle =
    "Please enter the master password that will be used to decrypt the data";
constexpr const char* kGroupSubtitle = "Please fill in the name and choose an icon for the group";

constexpr std::array<BannerText, kBannerCount> kBanners{{
    {400, "Add group", kGroupSubtitle},
    {400, "Edit group", kGroupSubtitle},
    {490, "Add entry", "Please fill in the following fields then press 'Accept' to save the entry"},
    {490, "Edit entry", "Please modify the fields below then press 'Accept' to save the entry"},
    {320, "Search entries", "Please enter the search terms in the field below"},
    {350, "Mass modify entries", "The selected entries can be edited using the options below"},
    {425, "Plugin manager",
     "The following plugins are currently installed and ready to be used from VLT"},
    {375, "Save container", kSecureSubtitle},
    {375, "Open container", kDecryptSubtitle},
    {375, "Change password", kSecureSubtitle},
    {375, "Export data", kSecureSubtitle},
    {375, "Import data", kDecryptSubtitle},
    {490, "Configure VLT", "From this dialog you can configure Orvelline Vaultwick"},
}};

std::unique_ptr<std::array<QPixmap, kBannerCount>>& bannersSlot() {
    static std::unique_ptr<std::array<QPixmap, kBannerCount>> banners;
    return banners;
}

void releaseBanners() {
    bannersSlot().reset();
}

}  // namespace

QPixmap MakeBanner(int width, const QString& title, const QString& subtitle) {
    QImage image = CreateColorImage(width, kBannerHeight, kBannerTop, kBannerBottom, true);
    if (image.isNull()) {
        return {};
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(UiFonts::bold());
    DrawShadowText(painter, 10, 7, title, Qt::white);
    painter.setFont(UiFonts::normal());
    DrawShadowText(painter, 10, 21, subtitle, Qt::white);
    painter.end();
    return QPixmap::fromImage(image);
}

const QPixmap& Banner(int index) {
    static const QPixmap none;
    if (index < 0 || index >= kBannerCount) {
        return none;
    }
    auto& slot = bannersSlot();
    if (!slot) {
        slot = std::make_unique<std::array<QPixmap, kBannerCount>>();
        for (std::size_t i = 0; i < kBanners.size(); ++i) {
            const BannerText& b = kBanners[i];
            (*slot)[i] =
                MakeBanner(b.width, QString::fromLatin1(b.title), QString::fromLatin1(b.subtitle));
        }
        qAddPostRoutine(releaseBanners);
    }
    return (*slot)[static_cast<std::size_t>(index)];
}

}  // namespace vlt
