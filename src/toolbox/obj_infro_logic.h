// What the object-information window does, apart from drawing itself: it shows
// what the tables know of one object on the board (its trigger, its link, its
// shutter number, its cell) and whether it is locked. It changes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quarvelt {

// The window's four frames, which stand at the same place.
enum class InfoFrame { Trig, KeySqr, Shut, Miss };

struct InfoFrameState {
    bool visible = false;
    std::string title;
};

class ObjInfroLogic {
  public:
    // Hidden labels, set by the caller before the window is shown.
    std::string trigType;
    std::string cellNumber;
    std::string frameCapt;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    const InfoFrameState& Frame(InfoFrame frame) const {
        return frames_[static_cast<size_t>(frame)];
    }
    // The indicators, by the window's own names.
    std::string trigNum, trigValue, trigCellNum;
    std::string keySqrNum, keySqrCell, shutCelNum;
    std::string shutNum, shutCellNum;
    std::string missCellNum;
    std::string lockInd;
    // The lock indicator's colour, &H00BBGGRR: red when locked, green when not.
    int32_t lockColour = 0;
    bool Visible() const { return visible_; }

    void FormLoad();
    void Activate();
    void OkClick();

    std::function<void()> changed;

  private:
    void Empty();
    void ShowFrame(InfoFrame frame);
    void Changed();

    std::string caption_;
    InfoFrameState frames_[4];
    bool visible_ = false;
};

}  // namespace quarvelt
