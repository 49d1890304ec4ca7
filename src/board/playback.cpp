#include "board/playback.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "common/geometry.h"
#include "common/globals.h"
#include "common/library.h"
#include "common/tables.h"
#include "common/text.h"
#include "common/vocabulary.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr const char* ShutterTitle = "TRYING TO DISPLAY SHUTTER";
constexpr const char* MissingImageText = "ERROR: MISSING SHUTTER IMAGE!";
constexpr const char* MissingInfoText = "ERROR: MISSING SHUTTER INFO!";
constexpr const char* ClosedTitle = "BAD GAME SOLUTION";
constexpr const char* ClosedText =
    "SHUTTER IS CLOSED!\rYou need a key to open Shutter\rbefore the photon can pass.";
constexpr int ClosedFrame = 0;
constexpr int OpenFrame = 4;

std::string ShutterFrame(const ShutterSlot& shutter, int frame) {
    return GetSpecialObjCode(shutter.objectNumber) + std::string(15, '_') + "0" +
           static_cast<char>('0' + frame) + ".BMP";
}

int32_t ToTally(double value) {
    constexpr double Low = std::numeric_limits<int32_t>::min();
    constexpr double High = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::llround(std::clamp(value, Low, High)));
}

class Player {
  public:
    Player(platform::BoardGrid& grid, platform::Label& tally, float pauseSeconds)
        : grid_(grid), tally_(tally), pauseSeconds_(pauseSeconds) {}

    bool Play(int32_t frameCount, const bool& stopRequest) {
        const auto last = static_cast<int32_t>(
            std::min<int64_t>(frameCount, static_cast<int64_t>(AnimTable.size()) - 1));
        for (int32_t i = 1; i <= last; ++i) {
            if (stopRequest)
                return false;
            if (!PlayRow(i, last))
                return false;
        }
        return true;
    }

  private:
    // False when the playback ends at this row.
    bool PlayRow(int32_t i, int32_t last) {
        const AnimRow& row = AnimTable[static_cast<size_t>(i)];
        const int16_t number = row.specialObject;
        if (number >= 1 && number <= 6) {
            Bonus(row);
        } else if (number >= 7 && number <= 9) {
            return ClosingSquare(row);
        } else if (number >= 10 && number <= 12) {
            if (Open(KeyTarget(row)))
                return true;
        } else if (number >= 13 && number <= 18) {
            return Shutter(i, last);
        }
        Draw(row, row.pictureName);
        return true;
    }

    void Bonus(const AnimRow& row) {
        const int16_t kind = row.specialObject;
        const int16_t slot = row.slot;
        // A row with no trigger credits nothing.
        if (slot < 1 || slot > BonusSlots)
            return;
        if (kind == lastKind_ && slot == lastSlot_)
            return;
        lastKind_ = kind;
        lastSlot_ = slot;
        const BonusObjSlot& bonus = BonusObjTable[kind][slot];
        if (bonus.cell != row.cell)
            return;
        const int64_t sum =
            static_cast<int64_t>(ToTally(LeadingNumber(tally_.Caption()))) + bonus.points;
        tally_.SetCaption(std::to_string(ToTally(static_cast<double>(sum))));
    }

    bool ClosingSquare(const AnimRow& row) {
        if (!IsPlainFileName(row.pictureName) || !FileExists(ImagePath + row.pictureName))
            return Fail(MissingImageText, ShutterTitle);
        const int colour = row.specialObject - 6;
        int16_t linked = -1;
        for (int number = 1; number <= LinkSlots; ++number) {
            if (ClosingSquareTable[colour][number].cell == row.cell) {
                linked = ClosingSquareTable[colour][number].shutterCell;
                break;
            }
        }
        // Cell 0 is a cell like any other; a square without an entry, or linked
        // to no shutter (-1), has nothing to close.
        ShutterSlot* shutter = ShutterAt(linked);
        if (!shutter)
            return Fail(MissingInfoText, ShutterTitle);
        if (shutter->open != 0) {
            for (int frame = OpenFrame; frame >= ClosedFrame; --frame)
                DrawAt(linked, ShutterFrame(*shutter, frame));
            shutter->open = 0;
        }
        return true;
    }

    // The shutter cell a key row opens, or -1.
    static int16_t KeyTarget(const AnimRow& row) {
        for (int colour = 1; colour <= LinkColours; ++colour)
            for (int number = 1; number <= LinkSlots; ++number) {
                const KeySlot& key = KeyTable[colour][number];
                if (key.objectNumber == row.specialObject && key.cell == row.cell)
                    return key.shutterCell;
            }
        return -1;
    }

    // Opens the shutter at `target`; false, drawing nothing, when none lies there.
    bool Open(int16_t target) {
        ShutterSlot* shutter = ShutterAt(target);
        if (!shutter)
            return false;
        for (int frame = ClosedFrame; frame <= OpenFrame; ++frame)
            DrawAt(target, ShutterFrame(*shutter, frame));
        shutter->open = 1;
        return true;
    }

    // A photon reaching a shutter: it stops at a closed one; at an open one the
    // shutter shows open under the photon's passing frames.
    bool Shutter(int32_t i, int32_t last) {
        AnimRow& row = AnimTable[static_cast<size_t>(i)];
        const int kind = row.specialObject - 12;
        const int16_t slot = row.slot;
        if (slot < 1 || slot > LinkSlots || ShutterTable[kind][slot].cell != row.cell) {
            Draw(row, row.pictureName);
            return true;
        }
        const ShutterSlot& shutter = ShutterTable[kind][slot];
        if (shutter.open == 0) {
            DrawAt(row.cell, ShutterFrame(shutter, ClosedFrame));
            return Fail(ClosedText, ClosedTitle);
        }
        const std::string frame = row.pictureName.size() >= 22 ? row.pictureName.substr(20, 2) : "";
        if (shutter.open != 1 || (frame != "01" && frame != "03")) {
            Draw(row, row.pictureName);
            return true;
        }
        const std::string open = ShutterFrame(shutter, OpenFrame);
        for (int32_t j = i + 1; j <= last; ++j) {
            if (AnimTable[static_cast<size_t>(j)].cell == row.cell) {
                AnimTable[static_cast<size_t>(j)].pictureName = open;
                break;
            }
        }
        Draw(row, open);
        // The row's own shutter stands there, so this always finds one.
        Open(row.cell);
        return true;
    }

    // The first shutter standing on `cell`, kind by kind.
    static ShutterSlot* ShutterAt(int16_t cell) {
        if (cell < 0)
            return nullptr;
        for (int kind = 1; kind <= ShutterKinds; ++kind)
            for (int number = 1; number <= LinkSlots; ++number)
                if (ShutterTable[kind][number].cell == cell)
                    return &ShutterTable[kind][number];
        return nullptr;
    }

    void Draw(const AnimRow& row, const std::string& picture) {
        DrawAt(row.cell, picture);
        if (row.pause && pauseSeconds_ > 0)
            WaitSeconds(pauseSeconds_);
    }

    void DrawAt(int16_t cell, const std::string& picture) {
        if (cell < 0 || cell >= CellCount)
            return;
        const std::string position = FormatCellPos(cell, BoardCols);
        const int row = std::stoi(position.substr(0, 3));
        const int col = std::stoi(position.substr(position.size() - 3));
        // A grid sized for another board has no such cell.
        if (row >= grid_.Rows() || col >= grid_.Cols())
            return;
        grid_.SetCol(col);
        grid_.SetRow(row);
        // Names come from puzzle files; one that could leave the image folder is not loaded.
        if (TrimBlanks(picture).empty() || !IsPlainFileName(picture)) {
            grid_.ClearCellPicture();
            return;
        }
        grid_.SetCellPicture(ImagePath + picture);
    }

    static bool Fail(const char* text, const char* title) {
        platform::Beep();
        platform::MsgBox(text, platform::MsgOkOnly | platform::MsgExclamation, title);
        return false;
    }

    platform::BoardGrid& grid_;
    platform::Label& tally_;
    float pauseSeconds_;
    // The bonus object of the last bonus row, so that it earns its points once.
    int16_t lastKind_ = 0;
    int16_t lastSlot_ = 0;
};

}  // namespace

bool ApplySpecialObjHits(platform::BoardGrid& grid, platform::Label& tally, int32_t frameCount,
                         const bool& stopRequest, float pauseSeconds) {
    return Player(grid, tally, pauseSeconds).Play(frameCount, stopRequest);
}

}  // namespace quarvelt
