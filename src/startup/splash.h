// The splash window: it covers the desktop's work area with the game's title
// art and version while the start-up sequence runs.
#pragma once

#include <QWidget>

namespace quarvelt {

class MDStartUp : public QWidget {
  public:
    MDStartUp();
    // Lays the window over the work area.
    void LayOut();
    void SetStatus(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString status_;
};

}  // namespace quarvelt
