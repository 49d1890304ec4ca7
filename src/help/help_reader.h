// The help reader on screen; HelpReaderLogic holds what it shows and does.
#pragma once

#include <QDialog>
#include <array>

#include "help/help_reader_logic.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvelt {

class HelpReader : public QDialog {
  public:
    HelpReader(HelpReaderLogic& logic, QWidget* parent);

    // Shows the reader modally on the start page; returns when it has hidden itself.
    void Run();
    void Sync();

    QLabel* PgLine(int index) const { return lines_[static_cast<size_t>(index)]; }
    QGroupBox* PageFrame() const { return frame_; }
    QPushButton* Content() const { return content_; }
    QPushButton* NextPg() const { return next_; }
    QPushButton* PrevPg() const { return prev_; }
    QPushButton* ExitHlp() const { return exit_; }
    QLineEdit* PagNum() const { return pagNum_; }
    QLabel* PagMsg() const { return pagMsg_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Act(void (HelpReaderLogic::*handler)());

    HelpReaderLogic& logic_;
    std::array<QLabel*, HelpPageLines> lines_{};
    QGroupBox* frame_;
    QPushButton* content_;
    QPushButton* next_;
    QPushButton* prev_;
    QPushButton* exit_;
    QLineEdit* pagNum_;
    QLabel* pagMsg_;
};

}  // namespace quarvelt
