// A label whose caption the core code sets and reads, such as the tally.
#pragma once

#include <QLabel>

#include "platform/label.h"
#include "platform/qt/ansi.h"

namespace platform::qt {

class QtLabel : public QLabel, public Label {
  public:
    using QLabel::QLabel;
    void SetCaption(const std::string& caption) override { setText(FromAnsi(caption)); }
    std::string Caption() const override { return ToAnsi(text()); }
};

}  // namespace platform::qt
