#include "ExporterWindow.h"

#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "ExporterIcon.h"
#include "HeaderBand.h"

namespace vlt::plugin {

namespace {

constexpr int kWidth = 355;
constexpr int kHeight = 295;

// An 8-point face of about 11 pixels with Arial's metrics keeps the texts inside their places.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    return font;
}

void setTip(QWidget* widget, const char* tip) {
    if (tip != nullptr) {
        widget->setToolTip(QString::fromUtf8(tip));
    }
}

QFrame* separator(QWidget* parent, int y, int width) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, y, width, 5);
    return line;
}

}  // namespace

QString BrowsedPath(const QString& chosen, const QString& extension) {
    if (chosen.right(extension.size()).toLower().trimmed() != extension) {
        return chosen + extension;
    }
    return chosen;
}

ExporterWindow::ExporterWindow(const ExporterTexts& texts,
                               const std::vector<std::pair<QString, std::int32_t>>& groups,
                               const std::uint8_t* icon)
    : texts_(texts) {
    setObjectName(QStringLiteral("exporterWindow"));
    setWindowTitle(QString::fromUtf8(texts.title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kWidth, kHeight);
    setFont(windowFont());
    const QImage iconImage = QImage::fromData(icon, kIconFileSize);
    if (!iconImage.isNull()) {
        setWindowIcon(QIcon(QPixmap::fromImage(iconImage)));
    }

    auto* band = new QLabel(this);
    band->setGeometry(0, 0, kWidth, 40);
    band->setPixmap(QPixmap::fromImage(
        HeaderBand(kWidth, QString::fromUtf8(texts.bandTitle), QString::fromUtf8(texts.bandText))));
    separator(this, 40, 360);

    whole_ = new QRadioButton(QStringLiteral("Export whole database"), this);
    whole_->setGeometry(5, 50, 345, 15);
    whole_->setChecked(true);
    selected_ = new QRadioButton(QStringLiteral("Export only the selected groups"), this);
    selected_->setGeometry(5, 70, 345, 15);
    selected_->setObjectName(QStringLiteral("selectedGroups"));

    groups_ = new QTreeWidget(this);
    groups_->setGeometry(5, 90, 345, 90);
    groups_->setColumnCount(1);
    groups_->setHeaderLabels({QStringLiteral("Groups")});
    // One column as wide as the list leaves it (340 pixels without a scroll bar); longer names
    // are elided instead of scrolling sideways.
    groups_->header()->setStretchLastSection(true);
    groups_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    groups_->setTextElideMode(Qt::ElideRight);
    groups_->setRootIsDecorated(false);
    groups_->setSelectionMode(QAbstractItemView::SingleSelection);
    groups_->setSelectionBehavior(QAbstractItemView::SelectRows);
    groups_->header()->setSectionsMovable(false);
    for (const auto& [name, id] : groups) {
        auto* row = new QTreeWidgetItem(groups_, {name});
        row->setData(0, Qt::UserRole, id);
        row->setCheckState(0, Qt::Unchecked);
    }
    groups_->setEnabled(false);

    auto* label = new QLabel(QString::fromUtf8(texts.pathLabel), this);
    label->setGeometry(5, 185, 345, 15);
    path_ = new QLineEdit(this);
    path_->setGeometry(5, 205, 255, 20);
    path_->setObjectName(QStringLiteral("path"));
    auto* browse = new QPushButton(QStringLiteral("Browse"), this);
    browse->setGeometry(265, 205, 85, 20);
    browse->setAutoDefault(false);
    progress_ = new QProgressBar(this);
    progress_->setGeometry(5, 230, 345, 15);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    separator(this, 255, 355);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(145, 265, 100, 25);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    auto* start = new QPushButton(QStringLiteral("Export"), this);
    start->setGeometry(250, 265, 100, 25);
    start->setObjectName(QStringLiteral("export"));
    start->setDefault(true);

    setTip(selected_, texts.selectedTip);
    setTip(groups_, texts.listTip);
    setTip(path_, texts.pathTip);
    setTip(browse, texts.browseTip);
    setTip(start, texts.exportTip);
    close->setToolTip(QStringLiteral("Close window"));

    connect(whole_, &QRadioButton::toggled, this, &ExporterWindow::updateList);
    connect(browse, &QPushButton::clicked, this, &ExporterWindow::browse);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(start, &QPushButton::clicked, this, &ExporterWindow::startExport);
}

void ExporterWindow::setProgress(int position) {
    progress_->setValue(std::min(position, 100));
}

void ExporterWindow::setBusy(bool busy) {
    busy_ = busy;
}

void ExporterWindow::reject() {
    if (!busy_) {
        QDialog::reject();
    }
}

void ExporterWindow::updateList() {
    // The check marks stay as they are while the list is disabled.
    groups_->setEnabled(selected_->isChecked());
}

void ExporterWindow::browse() {
    if (busy_) {
        return;
    }
    const QString chosen = QFileDialog::getSaveFileName(this, QString::fromUtf8(texts_.dialogTitle),
                                                        QString(), QString::fromUtf8(texts_.filter),
                                                        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty()) {
        path_->setText(BrowsedPath(chosen, QString::fromUtf8(texts_.extension)));
    }
}

void ExporterWindow::startExport() {
    if (busy_) {
        return;
    }
    const QString path = path_->text();
    if (path.trimmed().isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Information"),
                                 QString::fromUtf8(texts_.emptyPathMessage));
        return;
    }
    ExportRequest request;
    request.path = QFile::encodeName(path).toStdString();
    request.scope.whole = whole_->isChecked();
    for (int i = 0; i < groups_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = groups_->topLevelItem(i);
        if (row->checkState(0) == Qt::Checked) {
            request.scope.groups.push_back(row->data(0, Qt::UserRole).toInt());
        }
    }
    // Busy from the click on, so that a second click cannot queue a second export.
    busy_ = true;
    emit exportRequested(request);
}

}  // namespace vlt::plugin
