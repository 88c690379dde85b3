#pragma once
// Lets widgets take files dragged onto them: a drag that carries file addresses is accepted, and
// its drop is handed on.

#include <QList>
#include <QObject>
#include <QUrl>
#include <functional>

namespace vlt {

class FileDropFilter : public QObject {
    Q_OBJECT
  public:
    FileDropFilter(std::function<void(const QList<QUrl>& urls)> dropped, QObject* parent);

    // The widget takes drops from now on.
    void watch(QWidget* target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(const QList<QUrl>& urls)> dropped_;
};

}  // namespace vlt
