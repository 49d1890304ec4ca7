// The object-information window on screen; ObjInfroLogic holds what it shows.
#pragma once

#include <QDialog>
#include <string>
#include <utility>
#include <vector>

#include "toolbox/obj_infro_logic.h"

class QGroupBox;
class QLabel;

namespace quarvelt {

class ObjInfroDialog : public QDialog {
  public:
    ObjInfroDialog(ObjInfroLogic& logic, QWidget* parent);

    // Shows the window modeless and fills it for the object in the logic's labels.
    void ShowAndActivate();
    void Sync();

    QGroupBox* Frame(InfoFrame frame) const { return frames_[static_cast<size_t>(frame)]; }
    QLabel* LockInd() const { return lockInd_; }

  protected:
    void reject() override;

  private:
    ObjInfroLogic& logic_;
    QGroupBox* frames_[4];
    QLabel* lockInd_;
    // Indicators in the order of their frames.
    std::vector<std::pair<QLabel*, std::string*>> indicators_;
};

}  // namespace quarvelt
