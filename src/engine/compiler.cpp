#include "engine/compiler.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/library.h"
#include "common/tables.h"
#include "common/vocabulary.h"
#include "engine/entry_rules.h"
#include "engine/frame_pictures.h"
#include "engine/mixer.h"
#include "engine/picture_names.h"
#include "engine/stepping.h"
#include "engine/tallies.h"
#include "platform/services.h"

namespace quarvelt {
namespace {

constexpr const char* CompileTitle = "COMPILING  THE  PUZZLE";
constexpr const char* LampFrames = "LAMP__________MWR___00.BMP";
constexpr const char* BlankEndFrame = "BLANK_______________01.BMP";
constexpr int LampFrameCount = 5;

const std::string CheckObject = "\r\rPlease check your object and rerun.";
const std::string NoColourText = "ERROR:  NO COLOR INFROMATION FOUND!" + CheckObject;
const std::string ColourNotCountedText = "ERROR:  NO COLOR INFORMATION FOUND!" + CheckObject;
const std::string NoSizeText = "ERROR: NO PHOTON SIZE FOUND!" + CheckObject;
const std::string SizeNotCountedText = "ERROR:  NO SIZE INFORMATION FOUND!" + CheckObject;
const std::string NoDirectionText = "ERROR: NO OUT DIRECTION FOUND!" + CheckObject;
const std::string LockedUpText =
    "ERROR:  GAME LOCKED UP!\r\rCheck your puzzle for an endless loop.";

// How a compile stops: with its own message, or silently after the callee's.
struct Stop {
    std::string text;
    bool silent = false;
};

[[noreturn]] void Fail(const std::string& text) {
    throw Stop{text, false};
}
[[noreturn]] void FailSilently() {
    throw Stop{{}, true};
}

bool IsTravel(const std::string& direction) {
    return direction == "L" || direction == "R" || direction == "T" || direction == "B";
}

struct Photon {
    int16_t cell = -1;
    int16_t next = -1;  // -1 until the photon is started
    std::string colour, size, direction;
    int16_t row = 0;  // its path row and frame row, which always advance together
    bool started = false;
    bool ended = false;  // its walk is over until a mixer relaunches it
    std::string firstFrame;
};

class Compiler {
  public:
    void Run() {
        Start();
        Lamp();
        WalkFrom(1);
        while (Relaunch())
            continue;
        FinalState();
    }

  private:
    // Photons 1 to 3; entry 4 is never started, which ends the chain of walks.
    std::array<Photon, 5> photons_;
    // The walk ended where no detector judges the photon: in a blank cell, a
    // mixer, or a colour splitter that turned all of it aside.
    bool uncheckedEnd_ = false;
    size_t rowLimit_ = 0;

    PhotonPathRow& RowOf(int p) { return PhotonPath(p)[static_cast<size_t>(photons_[p].row)]; }

    void Start() {
        for (int p = 1; p <= PhotonCount; ++p)
            PhotonState[p] = {"", "_", "_", "_", "__"};
        StartCompileLookups();
        if (TallyPhotonColor("", 0, 0, 1) != "N")
            Fail("ERROR:  CAN'T INITIALZE PHOTON COLOR ARRAY!");
        if (TallyPhotonSize("", 0, 0, 1) != "N")
            Fail("ERROR:  CAN'T INITIALZE PHOTON SIZE ARRAY!");
        if (ProcessMixerPhoton(-1) != "I")
            Fail("ERROR:  CAN'T INITIALZE MIXER PROCESSOR");
        // Tables sized for another board must not be written past their end.
        rowLimit_ = static_cast<size_t>(std::max<int>(CellCount, 0));
        for (int p = 1; p <= PhotonCount; ++p)
            rowLimit_ = std::min({rowLimit_, PhotonPath(p).size(), PhotonFrames(p).size()});
    }

    // A photon's walks together may need more rows than the tables have.
    void RequireRow(int p) const {
        if (static_cast<size_t>(photons_[p].row) >= rowLimit_)
            Fail(LockedUpText);
    }

    static void Present(const std::string& frameName) {
        std::string error;
        if (!MakeFramePresent(frameName, error))
            Fail(error);
    }

    void Lamp() {
        const int16_t last = static_cast<int16_t>(std::min<size_t>(
            static_cast<size_t>(std::max<int>(CellCount - 1, 0)), BoardTable.size()));
        int16_t lamp = -1;
        for (int16_t i = 0; i < last && lamp < 0; ++i)
            if (IsTrue(BoardTable[static_cast<size_t>(i)].lampFlag))
                lamp = i;
        if (lamp < 0)
            Fail("ERROR:   NO LAMP!\r\rCan't generate Photons without a LAMP!");

        Photon& photon = photons_[1];
        photon.cell = lamp;
        // The lamp shines right, into the next cell index even from the last column.
        photon.next = static_cast<int16_t>(lamp + 1);
        photon.started = true;
        RequireRow(1);
        PhotonPathRow& row = PhotonPath(1)[0];
        std::string working;
        for (int n = 1; n <= LampFrameCount; ++n) {
            working = FrameImageName(LampFrames, n);
            if (n == 1)
                row.firstFrame = working;
            PhotonFrames(1)[0][static_cast<size_t>(n)] = working;
            Present(working);
        }
        row.lastFrame = working;
        row.lampStep = 1;
        row.frameRow = 0;
        row.frameCount = LampFrameCount;
        row.nextCell = photon.next;
        row.cell = lamp;
        row.restingPicture = LitLampPicture;
        row.specialObject = 0;
        row.specialSlot = 0;
        photon.colour = "W";
        photon.size = "M";
        photon.direction = "R";
        photon.row = 1;
        const std::string colour = TallyPhotonColor(working, 1, 1, 2);
        const std::string size = TallyPhotonSize(working, 1, 1, 2);
        if (colour != "Ok" || size != "Ok")
            Fail("ERROR: CAN'T DETERMINE PHOTON COLOR OR SIZE!");
    }

    // Walks photon p, then every started photon after it whose walk is still to
    // come; a walk that has ended is not walked again, so each path ends once.
    void WalkFrom(int p) {
        for (; p <= PhotonCount; ++p) {
            if (!photons_[p].ended)
                Walk(p);
            if (photons_[p + 1].next == -1)
                return;
        }
    }

    void Walk(int p) {
        int steps = 0;
        while (!Step(p)) {
            if (++steps == CellCount - 1)
                Fail(LockedUpText);
        }
        photons_[p].ended = true;
        if (uncheckedEnd_)
            return;
        const Photon& photon = photons_[p];
        const std::string code =
            BoardTable[static_cast<size_t>(photon.cell)].pictureName.substr(0, 5);
        if (!IsTrue(DetectorAccepts(code, photon.colour, photon.size)))
            Fail(
                "INCORRECT SOLUTION!\r\rPhoton's size and or color is not\rcorrect for one of the "
                "DETECTORS!");
    }

    // One step of photon p; true when it ended the photon's walk.
    bool Step(int p) {
        Photon& photon = photons_[p];
        uncheckedEnd_ = false;
        photon.cell = photon.next;
        if (photon.cell < 0 || static_cast<size_t>(photon.cell) >= BoardTable.size())
            FailSilently();
        const std::string code =
            BoardTable[static_cast<size_t>(photon.cell)].pictureName.substr(0, 5);
        const std::string resting = code + "_______________00.BMP";
        const std::string inSize = photon.size, inColour = photon.colour,
                          inTravel = photon.direction;

        const std::string picture =
            CompileLookups().findObjectImage(code, inColour, inSize, inTravel);
        if (picture == "ERROR1")
            Fail("ERROR: THIS IMAGE, " + code + " WASN'T FOUND IN INDEX FILE!");
        if (picture == "ERROR2")
            Fail(EmptyIndexText);
        if (picture == "ERROR3") {
            platform::SetPointer(platform::Pointer::Default);
            FailSilently();
        }
        if (std::string refusal = CheckPhotonEntry(picture, inColour, inSize, inTravel);
            !refusal.empty())
            Fail(refusal);
        const int16_t lastFrame = CompileLookups().getLastFrameNumber(picture);
        if (lastFrame == -2)
            Fail(EmptyIndexText);
        // The frame table has room for 16 frames a step.
        if (lastFrame <= 0 || lastFrame > FrameColumns)
            Fail("ERROR: THIS IMAGE, (" + picture + ") WASN'T FOUND IN INDEX FILE!");
        const int16_t special = GetSpecialObjNumber(code);
        RequireRow(p);

        // The step's first frame has a picture name's length whatever the index holds.
        const std::optional<ObjectImageParts> firstParts =
            IsColourSplitterCode(code) ? ParseObjectImageName(FrameImageName(picture, 1))
                                       : std::nullopt;
        if (firstParts && firstParts->out1.side == '_') {
            // The whole photon turns aside as a new photon; what is left goes on
            // straight ahead, empty, in the travel it came with, and ends in the next cell.
            const int q = NewPhoton();
            RecordFrames(p, picture, lastFrame, false);
            RecordStep(p, lastFrame, resting, special);
            StartPhoton(p, q, photon.firstFrame);
            MakeEmptyGoOn(p, NeighbourCell(photon.cell, photon.direction), resting);
            return IsTrue(RowOf(p).walkEnds);
        }
        if (IsMixerCode(code)) {
            CurrentMixerRec = {.pictureName = picture,
                               .photon = static_cast<int16_t>(p),
                               .cell = photon.cell,
                               .size = inSize,
                               .colour = inColour,
                               .direction = inTravel,
                               .frameRow = photon.row};
            if (ProcessMixerPhoton(0) == "E")
                Fail(CompileErrorText);
            // The mixer has written the step's frames.
            photon.firstFrame = MixerFirstFrame;
            RowOf(p).lastFrame = MixerLastFrame;
            RecordStep(p, MixerFrameCount, resting, special);
            // The photon waits in the mixer; a relaunch carries it on as the white one.
            MakeEmptyGoOn(p, MixerNextCell, resting);
            return IsTrue(RowOf(p).walkEnds);
        }

        const bool detector = RecordFrames(p, picture, lastFrame, true);
        if (photon.firstFrame == BlankEndFrame) {
            // An empty photon ends in the first blank cell it reaches.
            RowOf(p).walkEnds = True;
            uncheckedEnd_ = true;
        }
        RecordStep(p, lastFrame, resting, special);
        if (detector || uncheckedEnd_)
            return true;

        const std::string& name = photon.firstFrame;
        photon.colour = OutLetter(GetOutPhotonColor(name, 1), NoColourText);
        if (TallyPhotonColor(name, static_cast<int16_t>(p), 1, 2) != "Ok")
            Fail(p == 1 ? ColourNotCountedText : NoColourText);
        photon.size = OutLetter(GetOutPhotonSize(name, 1), NoSizeText);
        if (TallyPhotonSize(name, static_cast<int16_t>(p), 1, 2) != "Ok")
            Fail(SizeNotCountedText);
        photon.direction = OutLetter(GetOutPhotonDirection(name, 1), NoDirectionText);
        // Every splitter starts a photon; a colour splitter that finds none of its own
        // colour has no second photon in its picture, and the start stops the run there.
        if (IsSplitterCode(code))
            StartPhoton(p, NewPhoton(), name);
        GoOn(p);
        return false;
    }

    // Writes the step's frames into the photon's frame row; true when a frame
    // showed a detector, which ends the walk.
    bool RecordFrames(int p, const std::string& picture, int16_t lastFrame, bool detectors) {
        Photon& photon = photons_[p];
        PhotonFrameRow& frames = PhotonFrames(p)[static_cast<size_t>(photon.row)];
        PhotonPathRow& row = RowOf(p);
        bool detector = false;
        std::string working;
        for (int n = 1; n <= lastFrame; ++n) {
            working = FrameImageName(picture, n);
            if (detectors && IsDetectorCode(working)) {
                detector = true;
                row.walkEnds = True;
                PhotonState[p][3] = GetDetectorColor(working.substr(0, 5));
            }
            if (n == 1)
                photon.firstFrame = working;
            frames[static_cast<size_t>(n)] = working;
            Present(working);
        }
        row.lastFrame = working;
        return detector;
    }

    void RecordStep(int p, int16_t lastFrame, const std::string& resting, int16_t special) {
        const Photon& photon = photons_[p];
        PhotonPathRow& row = RowOf(p);
        row.firstFrame = photon.firstFrame;
        row.frameRow = photon.row;
        row.frameCount = lastFrame;
        row.cell = photon.cell;
        row.restingPicture = resting;
        row.specialObject = special;
        row.specialSlot = FindSpecialObjSlot(special, photon.cell);
    }

    // A letter of a leaving photon: "N" stops with `missing`, "E" after the reader's own box.
    static std::string OutLetter(const std::string& letter, const std::string& missing) {
        if (letter == "N")
            Fail(missing);
        if (letter == "E")
            FailSilently();
        return letter;
    }

    static void MakeEmpty(Photon& photon) {
        photon.colour = "_";
        photon.size = "_";
        photon.direction = "_";
    }

    // The empty rest of a photon after a colour splitter turned all of it aside,
    // or after it parked in a mixer. Into an empty cell it takes one more step
    // and ends there. Anything else beyond, or the board's edge, would stop the
    // run for a photon that no longer exists: there its walk ends in the cell
    // it stands on, which shows its resting picture again.
    void MakeEmptyGoOn(int p, int16_t beyond, const std::string& resting) {
        Photon& photon = photons_[p];
        MakeEmpty(photon);
        const bool blank = beyond >= 0 && static_cast<size_t>(beyond) < BoardTable.size() &&
                           BoardTable[static_cast<size_t>(beyond)].pictureName.starts_with("BLANK");
        if (blank) {
            Advance(p, beyond);
            return;
        }
        Advance(p, photon.cell);
        RequireRow(p);
        const std::string still = FrameImageName(resting, 0);
        Present(still);
        PhotonFrames(p)[static_cast<size_t>(photon.row)][1] = still;
        photon.firstFrame = still;
        PhotonPathRow& row = RowOf(p);
        row.lastFrame = still;
        RecordStep(p, 1, resting, 0);
        row.walkEnds = True;
        uncheckedEnd_ = true;
    }

    void GoOn(int p) {
        const Photon& photon = photons_[p];
        if (!IsTravel(photon.direction))
            Fail(NoDirectionText);
        const int16_t next = GetNextCell(photon.cell, photon.direction);
        if (next == -1)
            FailSilently();
        Advance(p, next);
    }

    void Advance(int p, int16_t next) {
        Photon& photon = photons_[p];
        RowOf(p).nextCell = next;
        photon.next = next;
        ++photon.row;
    }

    int NewPhoton() const {
        if (!photons_[2].started)
            return 2;
        if (!photons_[3].started)
            return 3;
        Fail("ERROR:  INVALIED SPLIT!\r\rYou Can't have a fourth Photon.");
    }

    // Photon q becomes out-photon 2 of the picture `name` of photon p's step.
    void StartPhoton(int p, int q, const std::string& name) {
        Photon& started = photons_[q];
        const auto photonQ = static_cast<int16_t>(q);
        started.colour = OutLetter(GetOutPhotonColor(name, 2), NoColourText);
        if (TallyPhotonColor(name, photonQ, 2, 2) != "Ok")
            Fail(q == 3 && p == 1 ? ColourNotCountedText : NoColourText);
        started.size = OutLetter(GetOutPhotonSize(name, 2), NoSizeText);
        if (TallyPhotonSize(name, photonQ, 2, 2) != "Ok")
            Fail(SizeNotCountedText);
        started.direction = OutLetter(GetOutPhotonDirection(name, 2), NoDirectionText);
        if (!IsTravel(started.direction))
            Fail(NoDirectionText);
        const int16_t next = GetNextCell(photons_[p].cell, started.direction);
        if (next == -1)
            FailSilently();
        started.next = next;
        RowOf(p).splitCell = next;
        RequireRow(q);
        RowOf(q).nextCell = next;
        started.started = true;
    }

    // Starts the white photon of the first mixer entry at which both inputs
    // have arrived, and walks it; false when there is none.
    bool Relaunch() {
        const size_t cells =
            std::min(MixerInputTable.size(), static_cast<size_t>(std::max<int>(CellCount, 0)));
        for (size_t c = 0; c < cells; ++c) {
            for (int kind = 0; kind < MixerKinds; ++kind) {
                MixerInput& entry = MixerInputTable[c][static_cast<size_t>(kind)];
                if (entry.firstArrived != "T" || entry.secondArrived != "T")
                    continue;
                entry.firstArrived = "F";
                entry.secondArrived = "F";
                const int p = entry.continuingPhoton;
                if (p < 1 || p > PhotonCount)
                    return true;
                if (entry.nextCell == -1) {
                    ReportPhotonLeavesBoard();
                    FailSilently();
                }
                Photon& photon = photons_[p];
                photon.next = entry.nextCell;
                photon.size = entry.size;
                photon.direction = entry.direction;
                photon.colour = "W";
                photon.ended = false;
                RequireRow(p);
                // The white photon's first step takes the row of the step that ended
                // the walk; on screen it leaves only once its partner has arrived.
                PhotonPathRow& row = RowOf(p);
                row.walkEnds = False;
                const MixerArrival partner = MixerPartner(static_cast<int16_t>(c), kind);
                row.waitPhoton = partner.photon;
                row.waitRow = partner.photon ? partner.row : int16_t{-1};
                WalkFrom(p);
                return true;
            }
        }
        return false;
    }

    void FinalState() {
        for (int p = 1; p <= PhotonCount; ++p) {
            // A photon that never existed keeps "_", so no condition can find it white or large.
            if (!photons_[p].started)
                continue;
            const auto photon = static_cast<int16_t>(p);
            const std::string colour = TallyPhotonColor("", photon, 0, 3);
            const std::string size = TallyPhotonSize("", photon, 0, 3);
            PhotonState[p][2] = colour == "Er" ? "N" : colour;
            PhotonState[p][1] = size == "Er" ? "N" : size;
        }
    }
};

void ErrorExit(const Stop& stop) {
    if (!stop.silent) {
        platform::SetPointer(platform::Pointer::Default);
        platform::Beep();
        platform::MsgBox(stop.text, platform::MsgOkOnly + platform::MsgExclamation, CompileTitle);
    }
    ResetPhotonTables();
    ResetMixerInputTable();
    const std::string colour = TallyPhotonColor("", 0, 0, 1);
    const std::string size = TallyPhotonSize("", 0, 0, 1);
    for (const auto& [answer, text] :
         {std::pair{colour, "ERROR:  CAN'T INITIALZE PHOTON COLOR ARRAY!"},
          std::pair{size, "ERROR:  CAN'T INITIALZE PHOTON SIZE ARRAY!"}}) {
        if (answer != "N") {
            platform::Beep();
            platform::MsgBox(text, platform::MsgOkOnly + platform::MsgExclamation, CompileTitle);
        }
    }
}

}  // namespace

void CompilePuzzle(Flag& ok) {
    try {
        Compiler().Run();
        ok = True;
    } catch (const Stop& stop) {
        ErrorExit(stop);
        ok = False;
    }
}

}  // namespace quarvelt
