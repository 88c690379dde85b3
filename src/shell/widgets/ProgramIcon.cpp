#include "shell/widgets/ProgramIcon.h"

#include <QPixmap>

#include "platform/XdgFiles.h"

namespace vlt {

QIcon ProgramIcon() {
    QPixmap picture;
    picture.loadFromData(reinterpret_cast<const uchar*>(xdg::kProgramIcon.data()),
                         static_cast<uint>(xdg::kProgramIcon.size()), "PNG");
    QIcon icon(picture);
    // Task bars ask for larger sizes: whole multiples keep the small picture's pixels crisp.
    for (int factor : {2, 3, 4}) {
        icon.addPixmap(
            picture.scaled(picture.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation));
    }
    return icon;
}

}  // namespace vlt
