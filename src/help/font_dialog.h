// The help writer's font chooser: a family from the installed fonts, a size,
// bold, italic and a text colour, with a sample line drawn as chosen.
#pragma once

#include <QDialog>

#include "help/help_writer_logic.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace quarvelt {

class FontDialog : public QDialog {
  public:
    explicit FontDialog(QWidget* parent);

    // Shows the chooser preset with `choice`; true with the values chosen, false
    // with `choice` untouched when the author cancels.
    bool Choose(const std::string& title, FontChoice& choice);

    QComboBox* Family() const { return family_; }
    QDoubleSpinBox* Size() const { return size_; }
    QCheckBox* Bold() const { return bold_; }
    QCheckBox* Italic() const { return italic_; }
    QPushButton* ColorButton() const { return color_; }
    QLabel* Sample() const { return sample_; }
    QPushButton* OKButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The text colour the chooser holds, &H00BBGGRR.
    int32_t Color() const { return colorValue_; }

  private:
    void SetColor(int32_t color);
    void ShowSample();

    QComboBox* family_;
    QDoubleSpinBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QPushButton* color_;
    QLabel* sample_;
    QPushButton* ok_;
    QPushButton* cancel_;
    int32_t colorValue_ = HelpBlack;
};

}  // namespace quarvelt
