#include "animation/animation_builder.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "animation/picture_supply.h"
#include "common/globals.h"
#include "common/tables.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* KeyNotFoundText = "ERROR: KEY NOT FOUND!";
constexpr const char* NoIndexText = "ERROR: OPENING INDEX FILE";
constexpr const char* NoShutterPictureText = "ERROR: LOCATING A SHUTTER!";
// Drawn over a cell whose bonus object or key a photon has taken.
constexpr const char* ErasePicture = "BLANK_______________00.BMP";
constexpr int RowsPerCell = 8;

bool IsBonus(int16_t number) {
    return number > 0 && number < 7;
}
bool IsKey(int16_t number) {
    return number > 9 && number < 13;
}
bool IsShutter(int16_t number) {
    return number > 12 && number < 19;
}

// Ends the build with its message.
struct Stop {
    const char* text;
};

// Where one photon stands in the build.
struct Photon {
    int32_t pathRow = 0;
    int32_t frameRow = 0;  // frame-table row of the current step
    int frameNo = 1;       // the next frame of the current step
    int stepFrames = 1;
    int16_t prevCell = 0;   // the cell the next put-back row redraws
    std::string prevImage;  // and its picture
    bool moving = false;
    bool done = false;

    bool Free() const { return !moving && !done; }
};

// A step that collects what its cell holds: a bonus object with a trigger, or a key.
bool Collects(const PhotonPathRow& step) {
    if (IsBonus(step.specialObject))
        return step.specialSlot >= 1 && step.specialSlot <= BonusSlots;
    return IsKey(step.specialObject);
}

// The taken state of what a collecting step crosses. A key that no colour
// holds at the step's slot ends the build.
int16_t& CollectedState(const PhotonPathRow& step) {
    const int16_t number = step.specialObject;
    const int16_t slot = step.specialSlot;
    if (IsBonus(number))
        return BonusObjTable[number][slot].state;
    if (slot >= 1 && slot <= LinkSlots)
        for (int colour = 1; colour <= LinkColours; ++colour)
            if (KeyTable[colour][slot].objectNumber == number)
                return KeyTable[colour][slot].state;
    throw Stop{KeyNotFoundText};
}

class Builder {
  public:
    int32_t Run() {
        AnimTable.assign(static_cast<size_t>(std::max<int>(CellCount, 0)) * RowsPerCell + 1,
                         AnimRow{});
        try {
            LampRows();
            do {
                const int32_t before = next_;
                // A photon started during the pass by a lower-numbered one takes its turn in it.
                for (int p = 1; p <= PhotonCount; ++p)
                    if (photons_[p].moving && !Waits(p))
                        Advance(p);
                // Every turn writes a row, so a pass without one found every moving
                // photon waiting for a partner whose steps are never played.
                if (next_ == before)
                    throw Stop{IncompletePathText};
            } while (photons_[1].moving || photons_[2].moving || photons_[3].moving);
        } catch (const Stop& stop) {
            platform::Beep();
            platform::MsgBox(stop.text, platform::MsgOkOnly | platform::MsgExclamation,
                             BuildAnimationTitle);
            return -1;
        }
        return next_ - 1;
    }

  private:
    void LampRows() {
        const PhotonPathRow& lamp = PathRow(1, 0);
        Photon& photon = photons_[1];
        photon.frameRow = lamp.frameRow;
        for (int frame = 1; frame <= lamp.frameCount; ++frame)
            Write(FramePicture(1, frame), true, lamp.cell, 0, 0);
        photon.prevCell = lamp.cell;
        photon.prevImage = lamp.restingPicture;
        photon.stepFrames = PathRow(1, 1).frameCount;
        photon.pathRow = 1;
        photon.moving = true;
    }

    // A white photon leaves its mixer only once the photon it met there has
    // played its step into the mixer and the step that ended its walk; until
    // then it stays drawn inside, and the cell beyond is not drawn by both.
    bool Waits(int p) const {
        const Photon& photon = photons_[p];
        if (photon.frameNo != 1)
            return false;
        const PhotonPathRow& step = PathRow(p, photon.pathRow);
        const int w = step.waitPhoton;
        if (w < 1 || w > PhotonCount || w == p)
            return false;
        const Photon& partner = photons_[w];
        return !partner.done && !(partner.moving && partner.pathRow > step.waitRow + 1);
    }

    // One frame of photon p: the rows of its turn in this pass.
    void Advance(int p) {
        const Photon& photon = photons_[p];
        const PhotonPathRow& step = PathRow(p, photon.pathRow);
        if (photon.frameNo == 1)
            FirstFrame(p, step);
        else if (photon.frameNo == photon.stepFrames)
            LastFrame(p, step);
        else
            MiddleFrame(p, step);
    }

    void FirstFrame(int p, const PhotonPathRow& step) {
        Photon& photon = photons_[p];
        // Every recorded step has 1 to 16 frames; a row without them was never recorded.
        if (photon.stepFrames < 1 || photon.stepFrames > FrameColumns)
            throw Stop{IncompletePathText};
        Write(photon.prevImage, false, photon.prevCell, 0, 0);
        // Also for a taken object: its empty-cell frames are drawn from this step's names.
        photon.frameRow = step.frameRow;
        photon.frameNo = 2;
        const bool lastToo = photon.stepFrames == 1;
        const bool final = IsTrue(step.walkEnds);

        if (Collects(step)) {
            int16_t& state = CollectedState(step);
            const bool taken = state == -1;
            if (taken)
                Write(ErasePicture, true, step.cell, 0, 0);
            else
                Write(FramePicture(p, 1), true, step.cell, step.specialObject, step.specialSlot);
            if (!lastToo)
                return;
            if (final) {
                Finish(p);
                return;
            }
            // The one frame was also the last: it took the object.
            state = -1;
            CloseCollectingStep(p, step);
            return;
        }
        if (lastToo && !final) {
            OrdinaryLastFrame(p, step, true);
            return;
        }
        Write(FramePicture(p, 1), true, step.cell, 0, 0);
        if (lastToo)
            Finish(p);
    }

    void LastFrame(int p, const PhotonPathRow& step) {
        Photon& photon = photons_[p];
        if (IsTrue(step.walkEnds)) {
            // The final cell keeps the photon's last frame.
            Write(FramePicture(p, photon.frameNo), true, step.cell, 0, 0);
            Finish(p);
            return;
        }
        if (Collects(step)) {
            int16_t& state = CollectedState(step);
            if (state == -1) {
                Write(ErasePicture, true, step.cell, 0, 0);
            } else {
                Write(FramePicture(p, photon.frameNo), false, step.cell, 0, 0);
                state = -1;
            }
            CloseCollectingStep(p, step);
            return;
        }
        OrdinaryLastFrame(p, step, false);
    }

    void MiddleFrame(int p, const PhotonPathRow& step) {
        Photon& photon = photons_[p];
        std::string picture = FramePicture(p, photon.frameNo);
        int16_t number = 0;
        int16_t slot = 0;
        // Only the credited first frame names a bonus object or key, so nothing is
        // credited or opened twice; photon 1's middle frames name nothing at all.
        if (p != 1 && !IsBonus(step.specialObject) && !IsKey(step.specialObject)) {
            number = step.specialObject;
            slot = step.specialSlot;
        }
        if (Collects(step) && IsTaken(step))
            picture = EmptyCellFrame(picture);
        Write(picture, false, step.cell, number, slot);
        ++photon.frameNo;
    }

    // The last frame of a step that neither ends the path nor collects: it names
    // the cell's special object for the playback and may start a further photon.
    void OrdinaryLastFrame(int p, const PhotonPathRow& step, bool pause) {
        Photon& photon = photons_[p];
        if (IsShutter(step.specialObject))
            CloseShutterAt(step.cell);
        Write(FramePicture(p, photon.stepFrames), pause, step.cell, step.specialObject,
              step.specialSlot);
        photon.prevCell = step.cell;
        photon.prevImage = step.restingPicture;
        photon.frameNo = 1;
        photon.stepFrames = PathRow(p, photon.pathRow + 1).frameCount;
        if (p < PhotonCount && step.splitCell != -1)
            HandOff(p, step);
        ++photon.pathRow;
    }

    // After a bonus object or key: the cell is erased now and again when the photon moves on.
    void CloseCollectingStep(int p, const PhotonPathRow& step) {
        Photon& photon = photons_[p];
        Write(ErasePicture, true, step.cell, 0, 0);
        photon.prevCell = step.cell;
        photon.prevImage = ErasePicture;
        photon.frameNo = 1;
        photon.stepFrames = PathRow(p, photon.pathRow + 1).frameCount;
        ++photon.pathRow;
    }

    void Finish(int p) {
        Photon& photon = photons_[p];
        photon.moving = false;
        photon.done = true;
        photon.pathRow = 0;
        photon.frameNo = 1;
        photon.stepFrames = 1;
    }

    // Photon p splits on `step`: the next free photon starts from row 0 of its own
    // path, first redrawing the splitting cell. With none free the split shows
    // as an ordinary step.
    void HandOff(int p, const PhotonPathRow& step) {
        int q = 0;
        if (p == 1)
            q = photons_[2].Free() && photons_[3].Free() ? 2 : photons_[3].Free() ? 3 : 0;
        else if (photons_[3].Free())
            q = 3;
        if (q == 0)
            return;
        const std::vector<PhotonPathRow>& path = PhotonPath(q);
        // The compile recorded no such photon; nothing can start.
        if (path.empty() || path[0].frameCount < 1)
            return;
        Photon& started = photons_[q];
        started.frameRow = path[0].frameRow;
        started.frameNo = 1;
        started.stepFrames = path[0].frameCount;
        started.prevImage = step.restingPicture;
        started.prevCell = step.cell;
        started.moving = true;
    }

    // A photon reaching a shutter closes it; its frames must be present for the playback.
    void CloseShutterAt(int16_t cell) {
        if (cell < 0)
            return;
        for (int kind = 1; kind <= ShutterKinds; ++kind) {
            for (int number = 1; number <= LinkSlots; ++number) {
                ShutterSlot& shutter = ShutterTable[kind][number];
                if (shutter.cell != cell)
                    continue;
                shutter.open = 0;
                for (int frame = 0; frame <= 4; ++frame) {
                    switch (SupplyPicture(ShutterFrameName(shutter.objectNumber, frame))) {
                        case PictureSupply::Present:
                            break;
                        case PictureSupply::NoIndex:
                            throw Stop{NoIndexText};
                        case PictureSupply::NotFound:
                            throw Stop{NoShutterPictureText};
                    }
                }
                return;
            }
        }
    }

    bool IsTaken(const PhotonPathRow& step) {
        const int16_t number = step.specialObject;
        const int16_t slot = step.specialSlot;
        if (IsBonus(number))
            return BonusObjTable[number][slot].state == -1;
        if (slot >= 1 && slot <= LinkSlots)
            for (int colour = 1; colour <= LinkColours; ++colour)
                if (KeyTable[colour][slot].objectNumber == number)
                    return KeyTable[colour][slot].state == -1;
        return false;
    }

    // The empty cell's frame of the same step, for a photon crossing a cell whose
    // object is gone; the still erase picture when the index cannot give it.
    std::string EmptyCellFrame(const std::string& frame) {
        if (frame.size() < 22)
            return ErasePicture;
        const std::string name = "BLANK" + frame.substr(5, 17) + ".BMP";
        auto known = emptyFrames_.find(name);
        if (known == emptyFrames_.end()) {
            const bool present = SupplyPicture(name) == PictureSupply::Present;
            known = emptyFrames_.emplace(name, present ? name : ErasePicture).first;
        }
        return known->second;
    }

    const PhotonPathRow& PathRow(int p, int32_t row) const {
        const std::vector<PhotonPathRow>& path = PhotonPath(p);
        if (row < 0 || static_cast<size_t>(row) >= path.size())
            throw Stop{IncompletePathText};
        return path[static_cast<size_t>(row)];
    }

    const std::string& FramePicture(int p, int frame) const {
        const std::vector<PhotonFrameRow>& frames = PhotonFrames(p);
        const int32_t row = photons_[p].frameRow;
        if (row < 0 || static_cast<size_t>(row) >= frames.size() || frame < 1 ||
            frame > FrameColumns)
            throw Stop{IncompletePathText};
        return frames[static_cast<size_t>(row)][static_cast<size_t>(frame)];
    }

    void Write(const std::string& picture, bool pause, int16_t cell, int16_t number, int16_t slot) {
        if (static_cast<size_t>(next_) >= AnimTable.size())
            AnimTable.resize(std::max<size_t>(AnimTable.size() * 2, 16));
        AnimTable[static_cast<size_t>(next_)] = {picture, pause, cell, number, slot};
        ++next_;
    }

    std::array<Photon, PhotonCount + 1> photons_;
    int32_t next_ = 1;
    std::map<std::string, std::string> emptyFrames_;
};

}  // namespace

int32_t BuildPuzzleAnimation() {
    return Builder().Run();
}

}  // namespace quarvelt
