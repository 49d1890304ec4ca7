// The help writer on screen; HelpWriterLogic holds what it shows and does.
#pragma once

#include <QDialog>
#include <array>

#include "help/font_dialog.h"
#include "help/help_writer_logic.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quarvelt {

class HelpWriter : public QDialog, private HelpChoosers {
  public:
    HelpWriter(HelpWriterLogic& logic, QWidget* parent);
    ~HelpWriter() override;

    // Shows the writer modally on page 1; returns when it has hidden itself.
    void Run();
    void Sync();

    QLineEdit* PgLine(int index) const { return lines_[static_cast<size_t>(index)]; }
    QGroupBox* PageFrame() const { return frame_; }
    QLineEdit* PagNum() const { return pagNum_; }
    QLabel* TopicNum() const { return topicNum_; }
    QPushButton* NextPg() const { return next_; }
    QPushButton* PrevPg() const { return prev_; }
    QPushButton* SavePg() const { return save_; }
    QPushButton* UpDatePg() const { return update_; }
    QPushButton* ClearPg() const { return clear_; }
    QPushButton* PagColor() const { return color_; }
    QPushButton* SelFont() const { return font_; }
    QPushButton* ExitHlp() const { return exit_; }
    FontDialog* FontChooser() const { return fontDialog_; }

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ChooseColor(const std::string& title, int32_t& color) override;
    bool ChooseFont(const std::string& title, FontChoice& choice) override;
    void Act(void (HelpWriterLogic::*handler)());
    int LineOf(QObject* watched) const;

    HelpWriterLogic& logic_;
    std::array<QLineEdit*, HelpPageLines> lines_{};
    QGroupBox* frame_;
    QLineEdit* pagNum_;
    QLabel* topicNum_;
    QPushButton* next_;
    QPushButton* prev_;
    QPushButton* save_;
    QPushButton* update_;
    QPushButton* clear_;
    QPushButton* color_;
    QPushButton* font_;
    QPushButton* exit_;
    FontDialog* fontDialog_;
    unsigned focusMoves_ = 0;
    bool syncing_ = false;
};

}  // namespace quarvelt
