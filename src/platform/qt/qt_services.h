// The Qt backend of the operating-system services: message and input boxes,
// the mouse pointer, the event loop and the desktop.
#pragma once

#include <QElapsedTimer>
#include <memory>
#include <string>

#include "platform/services.h"

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace platform::qt {

// A message box for `flags`, not yet shown: the buttons of the set in the game's
// order whatever the desktop's dialog layout, each knowing its answer.
std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, int flags,
                                             const std::string& title, QWidget* parent);

// The answer of `clicked`; with no button (the box closed some other way) the
// answer of its escape button, or 0 when it has none.
int AnswerOfButton(const QMessageBox& box, const QAbstractButton* clicked);

class QtMessageBoxes : public MessageBoxes {
  public:
    int Show(const std::string& text, int flags, const std::string& title) override;
    void Beep() override;
};

class QtInputBoxes : public InputBoxes {
  public:
    std::string Ask(const std::string& prompt, const std::string& title,
                    const std::string& defaultText) override;
};

// One Default undoes any number of Hourglass calls, as with a single pointer
// property; Default with no hourglass shown leaves the pointer alone.
class QtMousePointer : public MousePointer {
  public:
    void Set(Pointer pointer) override;

  private:
    bool hourglassShown_ = false;
};

class QtEventLoop : public EventLoop {
  public:
    QtEventLoop();
    void ProcessEvents() override;
    void WaitForEvents(int maxMilliseconds) override;
    double Seconds() override;

  private:
    QElapsedTimer clock_;
};

class QtDesktop : public Desktop {
  public:
    WorkArea GetWorkArea() override;
    bool StartSystemInfo() override;
};

// Installs the Qt services (the drives stay the headless ones). Call once the
// QApplication exists; the services live until the process ends.
void InstallQtServices();

}  // namespace platform::qt
