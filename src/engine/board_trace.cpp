#include "engine/board_trace.h"

#include <array>
#include <charconv>
#include <sstream>

#include "common/globals.h"
#include "common/tables.h"
#include "common/vocabulary.h"
#include "engine/picture_names.h"

namespace quarvelt {
namespace {

constexpr int MinSize = 10;
constexpr int MaxSize = 60;
constexpr size_t ConditionLength = 33;

bool ReadNumber(const std::string& token, int low, int high, int16_t& value) {
    int number = 0;
    const auto [end, status] = std::from_chars(token.data(), token.data() + token.size(), number);
    if (status != std::errc() || end != token.data() + token.size() || number < low ||
        number > high)
        return false;
    value = static_cast<int16_t>(number);
    return true;
}

bool IsBoardCode(const std::string& code) {
    if (code.size() != 5)
        return false;
    for (char c : code)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

std::vector<std::string> Tokens(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    return tokens;
}

class Parser {
  public:
    explicit Parser(BoardFile& board) : board_(board) {}

    bool Parse(const std::string& text, std::string& error) {
        board_ = BoardFile();
        std::istringstream in(text);
        std::string line;
        for (lineNumber_ = 1; std::getline(in, line); ++lineNumber_) {
            if (const auto hash = line.find('#'); hash != std::string::npos)
                line.erase(hash);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!Statement(line))
                return Failed(error);
        }
        lineNumber_ = 0;
        if (board_.rows == 0)
            Fail("no size statement");
        else if (rowsRead_ != board_.rows)
            Fail("the board has " + std::to_string(rowsRead_) + " rows, not " +
                 std::to_string(board_.rows));
        else if (Registrations())
            return true;
        return Failed(error);
    }

  private:
    BoardFile& board_;
    int lineNumber_ = 0;
    int rowsRead_ = 0;
    std::string message_;
    std::vector<int> triggerLines_, linkLines_;

    bool Fail(const std::string& message) {
        message_ =
            lineNumber_ > 0 ? "line " + std::to_string(lineNumber_) + ": " + message : message;
        return false;
    }
    bool Failed(std::string& error) const {
        error = message_;
        return false;
    }

    bool Statement(const std::string& line) {
        const std::vector<std::string> tokens = Tokens(line);
        if (tokens.empty())
            return true;
        const std::string& keyword = tokens[0];
        if (keyword == "size")
            return Size(tokens);
        if (keyword == "row")
            return Row(tokens);
        if (keyword == "trigger" || keyword == "link") {
            int16_t cell = 0, other = 0;
            const bool trigger = keyword == "trigger";
            if (tokens.size() != 3 || !ReadNumber(tokens[1], 0, MaxSize * MaxSize - 1, cell) ||
                !ReadNumber(tokens[2], trigger ? 1 : 0, trigger ? 9999 : MaxSize * MaxSize - 1,
                            other))
                return Fail(trigger ? "expected: trigger CELL POINTS (points 1 to 9999)"
                                    : "expected: link CELL SHUTTER_CELL");
            if (trigger) {
                board_.triggers.push_back({cell, other});
                triggerLines_.push_back(lineNumber_);
            } else {
                board_.links.push_back({cell, other});
                linkLines_.push_back(lineNumber_);
            }
            return true;
        }
        if (keyword == "condition") {
            const auto start = line.find_first_not_of(' ', line.find("condition") + 9);
            std::string code = start == std::string::npos ? "" : line.substr(start);
            while (!code.empty() && code.back() == ' ')
                code.pop_back();
            if (code.size() != ConditionLength)
                return Fail("a condition has 33 characters");
            board_.condition = code;
            return true;
        }
        return Fail("unknown statement \"" + keyword + "\"");
    }

    bool Size(const std::vector<std::string>& tokens) {
        if (board_.rows != 0)
            return Fail("a second size statement");
        if (tokens.size() != 3 || !ReadNumber(tokens[1], MinSize, MaxSize, board_.rows) ||
            !ReadNumber(tokens[2], MinSize, MaxSize, board_.cols)) {
            board_.rows = 0;
            return Fail("expected: size ROWS COLS, each 10 to 60");
        }
        board_.cells.reserve(static_cast<size_t>(board_.rows * board_.cols));
        return true;
    }

    bool Row(const std::vector<std::string>& tokens) {
        if (board_.rows == 0)
            return Fail("a row before the size statement");
        if (rowsRead_ == board_.rows)
            return Fail("more than " + std::to_string(board_.rows) + " rows");
        if (static_cast<int>(tokens.size()) - 1 != board_.cols)
            return Fail("a row has " + std::to_string(board_.cols) + " codes");
        for (size_t i = 1; i < tokens.size(); ++i) {
            BoardFile::Cell cell;
            cell.code = tokens[i];
            if (cell.code.size() == 6 && cell.code.back() == '*') {
                cell.code.pop_back();
                cell.locked = true;
            }
            if (!IsBoardCode(cell.code))
                return Fail("\"" + tokens[i] + "\" is not a five-character board code");
            board_.cells.push_back(cell);
        }
        ++rowsRead_;
        return true;
    }

    int16_t SpecialAt(int16_t cell) const {
        if (cell < 0 || static_cast<size_t>(cell) >= board_.cells.size())
            return -1;
        return GetSpecialObjNumber(board_.cells[static_cast<size_t>(cell)].code);
    }

    // Every registration names an object that stands on the board, once, and
    // fits in its table.
    bool Registrations() {
        std::array<int, BonusKinds + 1> bonus{};
        std::array<int, LinkColours + 1> squares{}, keys{};
        std::array<int, ShutterKinds + 1> shutters{};
        std::vector<bool> registered(board_.cells.size(), false);
        for (size_t i = 0; i < board_.triggers.size(); ++i) {
            lineNumber_ = triggerLines_[i];
            const int16_t cell = board_.triggers[i].cell;
            const int16_t number = SpecialAt(cell);
            if (number < 1 || number > BonusKinds)
                return Fail("no bonus object stands at cell " + std::to_string(cell));
            if (registered[static_cast<size_t>(cell)])
                return Fail("cell " + std::to_string(cell) + " is registered twice");
            registered[static_cast<size_t>(cell)] = true;
            if (++bonus[static_cast<size_t>(number)] > BonusSlots)
                return Fail("more than 16 bonus objects of one kind");
        }
        for (size_t i = 0; i < board_.links.size(); ++i) {
            lineNumber_ = linkLines_[i];
            const auto [cell, shutterCell] = board_.links[i];
            const int16_t number = SpecialAt(cell);
            if (number < 7 || number > 12)
                return Fail("no key or closing square stands at cell " + std::to_string(cell));
            const int16_t shutter = SpecialAt(shutterCell);
            if (shutter < 13 || shutter > 18)
                return Fail("no shutter stands at cell " + std::to_string(shutterCell));
            if (registered[static_cast<size_t>(cell)])
                return Fail("cell " + std::to_string(cell) + " is registered twice");
            registered[static_cast<size_t>(cell)] = true;
            auto& count = number <= 9 ? squares[static_cast<size_t>(number - 6)]
                                      : keys[static_cast<size_t>(number - 9)];
            if (++count > LinkSlots)
                return Fail("more than 32 keys or closing squares of one colour");
        }
        lineNumber_ = 0;
        for (size_t cell = 0; cell < board_.cells.size(); ++cell) {
            const int16_t number = SpecialAt(static_cast<int16_t>(cell));
            if (number >= 13 && number <= 18 &&
                ++shutters[static_cast<size_t>(number - 12)] > LinkSlots)
                return Fail("more than 32 shutters of one kind");
        }
        return true;
    }
};

template <typename Slots, typename Free>
int16_t NextFreeSlot(const Slots& slots, int count, Free isFree) {
    for (int n = 1; n <= count; ++n)
        if (isFree(slots[static_cast<size_t>(n)]))
            return static_cast<int16_t>(n);
    return 0;
}

}  // namespace

bool ParseBoardFile(const std::string& text, BoardFile& board, std::string& error) {
    return Parser(board).Parse(text, error);
}

void LoadBoardFile(const BoardFile& board) {
    BoardRows = board.rows;
    BoardCols = board.cols;
    CellCount = static_cast<int16_t>(board.rows * board.cols);
    SpecialCond = board.condition;

    BoardTable.assign(static_cast<size_t>(CellCount), BoardCell{});
    for (size_t i = 0; i < BoardTable.size() && i < board.cells.size(); ++i) {
        const BoardFile::Cell& cell = board.cells[i];
        BoardCell& row = BoardTable[i];
        row.pictureName = RestingImageName(cell.code);
        // Groups and buttons come from the tool box; nothing in a compile reads them.
        row.group = cell.code == "BLANK" ? 5 : 0;
        row.lockFlag = cell.locked ? True : False;
        row.lampFlag = cell.code == "LAMP_" ? True : False;
    }

    ResetLinkTables();
    for (size_t i = 0; i < board.cells.size(); ++i) {
        const int16_t number = GetSpecialObjNumber(board.cells[i].code);
        if (number < 13 || number > 18)
            continue;
        auto& slots = ShutterTable[static_cast<size_t>(number - 12)];
        const int16_t n =
            NextFreeSlot(slots, LinkSlots, [](const ShutterSlot& s) { return s.cell == -1; });
        if (n > 0)
            slots[static_cast<size_t>(n)].cell = static_cast<int16_t>(i);
    }
    for (const BoardFile::Trigger& trigger : board.triggers) {
        const int16_t kind =
            GetSpecialObjNumber(board.cells[static_cast<size_t>(trigger.cell)].code);
        if (kind < 1 || kind > BonusKinds)
            continue;
        auto& slots = BonusObjTable[static_cast<size_t>(kind)];
        const int16_t n =
            NextFreeSlot(slots, BonusSlots, [](const BonusObjSlot& s) { return s.cell == -1; });
        if (n > 0)
            slots[static_cast<size_t>(n)] = {trigger.points, trigger.cell, 0};
    }
    for (const BoardFile::Link& link : board.links) {
        const int16_t number =
            GetSpecialObjNumber(board.cells[static_cast<size_t>(link.cell)].code);
        if (number >= 7 && number <= 9) {
            auto& slots = ClosingSquareTable[static_cast<size_t>(number - 6)];
            const int16_t n = NextFreeSlot(slots, LinkSlots,
                                           [](const ClosingSquareSlot& s) { return s.cell == -1; });
            if (n > 0) {
                slots[static_cast<size_t>(n)].shutterCell = link.shutterCell;
                slots[static_cast<size_t>(n)].cell = link.cell;
            }
        } else if (number >= 10 && number <= 12) {
            auto& slots = KeyTable[static_cast<size_t>(number - 9)];
            const int16_t n =
                NextFreeSlot(slots, LinkSlots, [](const KeySlot& s) { return s.cell == -1; });
            if (n > 0) {
                slots[static_cast<size_t>(n)].shutterCell = link.shutterCell;
                slots[static_cast<size_t>(n)].cell = link.cell;
                slots[static_cast<size_t>(n)].state = 0;
            }
        }
    }

    ResetPhotonTables();
    ResetMixerInputTable();
    AnimTable.clear();
}

std::string TraceMessageLine(const std::string& title, const std::string& text) {
    std::string line = "message " + title + " | ";
    for (char c : text) {
        if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    return line;
}

std::string TracePhotonLine(int photon) {
    const std::vector<PhotonPathRow>& path = PhotonPath(photon);
    std::string cells;
    size_t steps = 0;
    for (; steps < path.size() && path[steps].cell != -1; ++steps)
        cells += " " + std::to_string(path[steps].cell);
    const auto& state = PhotonState[static_cast<size_t>(photon)];
    return "photon " + std::to_string(photon) + " size " + state[1] + " colour " + state[2] +
           " detector " + state[3] + " steps " + std::to_string(steps) + " cells" + cells;
}

}  // namespace quarvelt
