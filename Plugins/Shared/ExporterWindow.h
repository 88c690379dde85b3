#pragma once
// The window every exporter shows: whole vault or ticked groups, the output file, progress.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

#include "ExportFrame.h"
#include "ExporterTexts.h"

class QLineEdit;
class QProgressBar;
class QRadioButton;
class QTreeWidget;

namespace vlt::plugin {

// A name picked in the save dialog gets the extension unless it already ends in it, ignoring
// letter case and blanks around the ending ("list.htm" -> "list.htm.html").
QString BrowsedPath(const QString& chosen, const QString& extension);

class ExporterWindow : public QDialog {
    Q_OBJECT
  public:
    // groups: name and ID of each group, in the host's order.
    ExporterWindow(const ExporterTexts& texts,
                   const std::vector<std::pair<QString, std::int32_t>>& groups,
                   const std::uint8_t* icon);

    void setProgress(int position);
    // From the click on Export until the exporter's thread clears it, the window starts nothing
    // and cannot be closed.
    void setBusy(bool busy);
    void reject() override;

  signals:
    void exportRequested(const vlt::plugin::ExportRequest& request);

  private:
    void browse();
    void startExport();
    void updateList();

    const ExporterTexts& texts_;
    QRadioButton* whole_;
    QRadioButton* selected_;
    QTreeWidget* groups_;
    QLineEdit* path_;
    QProgressBar* progress_;
    bool busy_ = false;
};

// The exporter's entry export: shows "There are no entries to export." when the vault has none,
// else the window, running each export the user starts on this thread (the host callbacks
// belong to it) until the window is closed or the host asks the plugin to quit. Returns 0.
int ExporterMain(const ExporterTexts& texts, ExportWriter writer, RecordSource& records,
                 std::uint32_t iconColour);

}  // namespace vlt::plugin
