#include "help/font_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "help/help_page_view.h"
#include "platform/qt/ansi.h"
#include "toolbox/dialog_parts.h"

namespace quarvelt {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

FontDialog::FontDialog(QWidget* parent)
    : QDialog(parent),
      family_(new QComboBox(this)),
      size_(new QDoubleSpinBox(this)),
      bold_(new QCheckBox(QStringLiteral("&Bold"), this)),
      italic_(new QCheckBox(QStringLiteral("&Italic"), this)),
      color_(new QPushButton(QStringLiteral("&Color..."), this)),
      sample_(new QLabel(QStringLiteral("AaBbYyZz  0123  Photons meet the mirror."), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setModal(true);
    // Families by their plain names; a foundry in brackets is no name a page can store.
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        const QString plain = family.section(QStringLiteral(" ["), 0, 0);
        if (!families.contains(plain))
            families.append(plain);
    }
    family_->addItems(families);
    family_->setMinimumWidth(220);
    // Sizes a page line can be shown at, in half points.
    size_->setRange(1, LargestHelpFontSize);
    size_->setDecimals(1);
    size_->setSingleStep(0.5);
    sample_->setTextFormat(Qt::PlainText);
    sample_->setMinimumWidth(360);
    sample_->setFrameShape(QFrame::StyledPanel);
    ok_->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Caption("Font", this), 0, 0);
    layout->addWidget(Caption("Size", this), 0, 1);
    layout->addWidget(family_, 1, 0);
    layout->addWidget(size_, 1, 1);
    auto* style = new QHBoxLayout;
    style->addWidget(bold_);
    style->addWidget(italic_);
    style->addStretch(1);
    style->addWidget(color_);
    layout->addLayout(style, 2, 0, 1, 2);
    layout->addWidget(Caption("Sample", this), 3, 0, 1, 2);
    layout->addWidget(sample_, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons, 5, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(family_, &QComboBox::currentTextChanged, this, [this] { ShowSample(); });
    connect(size_, &QDoubleSpinBox::valueChanged, this, [this] { ShowSample(); });
    connect(bold_, &QCheckBox::toggled, this, [this] { ShowSample(); });
    connect(italic_, &QCheckBox::toggled, this, [this] { ShowSample(); });
    connect(color_, &QPushButton::clicked, this, [this] {
        QColorDialog chooser(ColorOf(colorValue_), this);
        chooser.setOption(QColorDialog::DontUseNativeDialog);
        chooser.setWindowTitle(QStringLiteral("Text Color"));
        if (chooser.exec() == QDialog::Accepted)
            SetColor(ColorValue(chooser.selectedColor()));
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FontDialog::SetColor(int32_t color) {
    colorValue_ = color;
    QPixmap swatch(16, 16);
    swatch.fill(ColorOf(color));
    color_->setIcon(QIcon(swatch));
    ShowSample();
}

void FontDialog::ShowSample() {
    const LineLook look =
        LookOfLine("", ToAnsi(family_->currentText()), size_->value(), bold_->isChecked(),
                   italic_->isChecked(), colorValue_, HelpWhite);
    sample_->setFont(FontOf(look));
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::WindowText, ColorOf(look.foreColor));
    palette.setColor(QPalette::Window, Qt::white);
    sample_->setPalette(palette);
    sample_->setAutoFillBackground(true);
}

bool FontDialog::Choose(const std::string& title, FontChoice& choice) {
    setWindowTitle(FromAnsi(title));
    // A preset face that is not installed stays offered under its own name, so
    // changing only the style keeps the page's portable face.
    const QString preset = FromAnsi(choice.fontName);
    int at = family_->findText(preset, Qt::MatchFixedString);
    if (at < 0 && !preset.isEmpty()) {
        family_->insertItem(0, preset);
        at = 0;
    }
    family_->setCurrentIndex(at);
    size_->setValue(LookOfLine("", "", choice.fontSize, false, false, 0, 0).fontSize);
    bold_->setChecked(choice.bold);
    italic_->setChecked(choice.italic);
    SetColor(choice.color < 0 ? HelpBlack : choice.color);
    family_->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    choice.fontName = ToAnsi(family_->currentText());
    choice.fontSize = size_->value();
    choice.bold = bold_->isChecked();
    choice.italic = italic_->isChecked();
    choice.color = colorValue_;
    return true;
}

}  // namespace quarvelt
