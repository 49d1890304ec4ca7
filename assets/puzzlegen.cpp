// Writes the shipped puzzles into the game folder: each readable source of
// assets/puzzles (format in its README) becomes the seven puzzle files,
// written through the game's own writer with the tool-box catalogue of the
// picture set the build generated.
// Usage: quarvelt_puzzlegen <puzzle sources folder> <game folder>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "board/object_codes.h"
#include "common/globals.h"
#include "common/image_index.h"
#include "common/toolbox_catalogue.h"
#include "common/vocabulary.h"
#include "puzzles/puzzle_files.h"
#include "puzzles/condition_catalogue.h"

namespace {

using namespace quarvelt;

const std::string BlankPicture = "BLANK_______________00.BMP";

// The objects the game tool box offers: groups 1, 2 and 5, never the lamp.
bool OfferedInGame(const ToolboxObjectRow& row) {
    return (row.group == 1 || row.group == 2 || row.group == 5) &&
           row.stem.compare(0, 5, "LAMP_") != 0;
}

struct Cell {
    int row = 0;
    int col = 0;
    bool operator<(const Cell& other) const {
        return row != other.row ? row < other.row : col < other.col;
    }
};

struct Source {
    std::string path;
    PuzzleInfo info;
    bool haveCondition = false;
    std::vector<std::string> describe;
    std::vector<std::vector<std::string>> board;  // codes, "" for empty; lock kept apart
    std::vector<std::vector<bool>> locked;
    std::map<std::string, int> tools;
    std::map<Cell, int> triggers;
    std::map<Cell, Cell> links;
};

class Failure {
  public:
    explicit Failure(std::string message) : message(std::move(message)) {}
    std::string message;
};

[[noreturn]] void Fail(const Source& source, int line, const std::string& message) {
    throw Failure(source.path + ":" + std::to_string(line) + ": " + message);
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 && u < 0x7F;
    });
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

int Number(const Source& source, int line, const std::string& word, int low, int high) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != word.size() || value < low || value > high)
        Fail(source, line,
             "'" + word + "' is not a number from " + std::to_string(low) + " to " +
                 std::to_string(high));
    return value;
}

Source Parse(const std::string& path) {
    Source source;
    source.path = path;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Failure(path + ": cannot read");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    std::set<std::string> seen;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        std::string line = lines[i].substr(0, lines[i].find('#'));
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.pop_back();
        if (!IsAscii(line))
            Fail(source, number, "only plain ASCII text");
        const std::vector<std::string> words = Words(line);
        if (words.empty())
            continue;
        const std::string& key = words[0];
        const std::string rest =
            words.size() > 1 ? line.substr(line.find(words[1], key.size())) : std::string();
        const bool repeatable =
            key == "describe" || key == "tool" || key == "trigger" || key == "link";
        if (!repeatable && !seen.insert(key).second)
            Fail(source, number, "'" + key + "' given twice");

        if (key == "name") {
            if (rest.empty() || rest.size() > 40)
                Fail(source, number, "a name of 1 to 40 characters");
            source.info.puzzleName = rest;
        } else if (key == "base") {
            if (words.size() != 2 || rest.size() > MaxBaseNameLength ||
                rest.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") !=
                    std::string::npos)
                Fail(source, number, "a base name of at most 20 capitals, digits or '_'");
            source.info.SetBaseName(rest);
        } else if (key == "size") {
            if (words.size() != 3)
                Fail(source, number, "size <rows> <columns>");
            source.info.boardRows =
                static_cast<int16_t>(Number(source, number, words[1], MinBoardSide, MaxBoardSide));
            source.info.boardCols =
                static_cast<int16_t>(Number(source, number, words[2], MinBoardSide, MaxBoardSide));
        } else if (key == "date") {
            const bool shaped = rest.size() == 10 && rest[2] == '/' && rest[5] == '/' &&
                                rest.find_first_not_of("0123456789/") == std::string::npos;
            if (!shaped)
                Fail(source, number, "a date MM/DD/YYYY");
            source.info.puzzleDate = rest;
        } else if (key == "custom") {
            source.info.customFlag = static_cast<int16_t>(Number(source, number, rest, 0, 1));
        } else if (key == "key") {
            if (words.size() != 2 || rest.size() > 16)
                Fail(source, number, "a key of at most 16 characters without blanks");
            source.info.puzzleKey = rest;
        } else if (key == "condition") {
            if (rest == "none") {
                source.info.specialCondCode = EmptySpecialCondCode();
            } else if (rest.size() != SpecialCondCodeLength || rest.back() != '~') {
                Fail(source, number, "a condition code of 33 characters ending in '~'");
            } else {
                source.info.specialCondCode = rest;
            }
            source.haveCondition = true;
        } else if (key == "describe") {
            source.describe.push_back(rest);
        } else if (key == "board") {
            if (!seen.count("size"))
                Fail(source, number, "the size goes before the board");
            for (int r = 0; r < source.info.boardRows; ++r) {
                if (++i >= lines.size())
                    Fail(source, number, "the board has too few rows");
                const std::vector<std::string> cells =
                    Words(lines[i].substr(0, lines[i].find('#')));
                if (static_cast<int>(cells.size()) != source.info.boardCols)
                    Fail(source, static_cast<int>(i + 1),
                         "a board row of " + std::to_string(source.info.boardCols) + " cells");
                source.board.emplace_back();
                source.locked.emplace_back();
                for (const std::string& cell : cells) {
                    const bool lock = cell.size() == 6 && cell.back() == '*';
                    const std::string code = lock ? cell.substr(0, 5) : cell;
                    if (code != "." && code.size() != 5)
                        Fail(source, static_cast<int>(i + 1), "'" + cell + "' is no cell");
                    source.board.back().push_back(code == "." ? std::string() : code);
                    source.locked.back().push_back(lock);
                }
            }
        } else if (key == "tool") {
            if (words.size() != 3 ||
                !source.tools.emplace(words[1], Number(source, number, words[2], 1, 99)).second)
                Fail(source, number, "tool <code> <count>, once per code");
        } else if (key == "trigger") {
            if (words.size() != 4)
                Fail(source, number, "trigger <row> <column> <points>");
            const Cell cell{Number(source, number, words[1], 0, MaxBoardSide - 1),
                            Number(source, number, words[2], 0, MaxBoardSide - 1)};
            if (!source.triggers.emplace(cell, Number(source, number, words[3], 1, 9999)).second)
                Fail(source, number, "a second trigger for one cell");
        } else if (key == "link") {
            if (words.size() != 5)
                Fail(source, number, "link <row> <column> <shutter row> <shutter column>");
            const Cell from{Number(source, number, words[1], 0, MaxBoardSide - 1),
                            Number(source, number, words[2], 0, MaxBoardSide - 1)};
            const Cell to{Number(source, number, words[3], 0, MaxBoardSide - 1),
                          Number(source, number, words[4], 0, MaxBoardSide - 1)};
            if (!source.links.emplace(from, to).second)
                Fail(source, number, "a second link for one cell");
        } else {
            Fail(source, number, "unknown keyword '" + key + "'");
        }
    }
    for (const char* required : {"name", "base", "size", "date", "custom", "key", "board"})
        if (!seen.count(required))
            Fail(source, static_cast<int>(lines.size()), std::string("no '") + required + "'");
    // The load opens a puzzle whose key is the one typed by default for design.
    if (source.info.customFlag == 1 && source.info.puzzleKey == "UNKEYED")
        Fail(source, static_cast<int>(lines.size()), "a play-only puzzle needs a real key");
    if (!source.haveCondition)
        Fail(source, static_cast<int>(lines.size()), "no 'condition'");
    for (const std::string& part : source.describe)
        source.info.specialCondDesc += (source.info.specialCondDesc.empty() ? "" : " ") + part;
    if (source.info.specialCondDesc.size() > SpecialCondDescLength)
        Fail(source, static_cast<int>(lines.size()), "a description of at most 1024 characters");
    return source;
}

// The up row of the catalogue that carries the object's counts, as the board finds it.
int ToolRowOf(const std::string& code) {
    const std::string tool = ConvGameObjToToolObj(code);
    for (int row = 0; row < ToolboxRowCount; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[row];
        if (entry.stem.size() == 7 && entry.stem.compare(0, 5, tool) == 0 && entry.stem[6] == 'U')
            return row;
    }
    return -1;
}

// The tool button the tool box shows the row on: its place among its group's up rows.
int16_t ButtonOf(int toolRow) {
    int16_t button = 0;
    for (int row = 0; row < toolRow; ++row) {
        const ToolboxObjectRow& entry = ToolboxObjectTable[row];
        if (entry.group == ToolboxObjectTable[toolRow].group && !entry.stem.empty() &&
            entry.stem.back() == 'U')
            ++button;
    }
    return button;
}

PuzzleTables ClearedTables(size_t cells) {
    PuzzleTables t;
    t.board.assign(cells, BoardCell{BlankPicture, 5, 0, False, False});
    for (int16_t kind = 1; kind <= ShutterKinds; ++kind) {
        for (int n = 1; n <= LinkSlots; ++n)
            t.shutters[kind][n] = {-1, 0, static_cast<int16_t>(kind + 12)};
        for (int n = 1; n <= BonusSlots; ++n)
            t.bonus[kind][n] = {0, -1, -1};
    }
    for (int16_t colour = 1; colour <= LinkColours; ++colour) {
        for (int n = 1; n <= LinkSlots; ++n) {
            t.squares[colour][n] = {static_cast<int16_t>(colour + 6), -1, -1};
            t.keys[colour][n] = {-1, -1, static_cast<int16_t>(colour + 9), -1};
        }
    }
    return t;
}

template <typename Row>
int16_t NextSlot(const Source& source, Row& row, const std::string& what) {
    for (size_t slot = 1; slot < row.size(); ++slot)
        if (row[slot].cell == -1)
            return static_cast<int16_t>(slot);
    throw Failure(source.path + ": more than " + std::to_string(row.size() - 1) + " " + what);
}

PuzzleTables Build(const Source& source, const std::set<std::string>& pictures) {
    const int rows = source.info.boardRows, cols = source.info.boardCols;
    PuzzleTables t = ClearedTables(static_cast<size_t>(rows * cols));
    t.toolbox = ToolboxObjectTable;
    std::map<int, int16_t> used;
    int lamps = 0;
    auto cellIndex = [cols](const Cell& c) { return static_cast<int16_t>(c.row * cols + c.col); };
    auto codeAt = [&source, rows, cols](const Cell& c) {
        return c.row < rows && c.col < cols ? source.board[c.row][c.col] : std::string();
    };
    auto where = [](const Cell& c) {
        return "(" + std::to_string(c.row) + "," + std::to_string(c.col) + ")";
    };
    std::set<Cell> triggered, linked;

    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const Cell cell{r, c};
            const std::string& code = source.board[r][c];
            if (code.empty())
                continue;
            const int toolRow = ToolRowOf(code);
            if (toolRow < 0)
                throw Failure(source.path + ": " + code + " has no tool-box row");
            const std::string picture = code + "_______________00.BMP";
            if (!pictures.count(picture))
                throw Failure(source.path + ": no picture " + picture + " in the index");
            ++used[toolRow];
            const bool lamp = code == "LAMP_";
            lamps += lamp ? 1 : 0;
            const int16_t index = cellIndex(cell);
            t.board[static_cast<size_t>(index)] = {
                picture, t.toolbox[toolRow].group, ButtonOf(toolRow),
                source.locked[r][c] ? True : False, lamp ? True : False};

            const int16_t number = GetSpecialObjNumber(code);
            if (number >= 1 && number <= 6) {
                const auto trigger = source.triggers.find(cell);
                if (trigger == source.triggers.end())
                    throw Failure(source.path + ": no trigger for the " + code + " at " +
                                  where(cell));
                triggered.insert(cell);
                auto& kind = t.bonus[number];
                kind[NextSlot(source, kind, code)] = {static_cast<int16_t>(trigger->second), index,
                                                      0};
            } else if (number >= 13) {
                auto& kind = t.shutters[number - 12];
                kind[NextSlot(source, kind, code)] = {index, 0, number};
            }
        }
    }
    // Keys and squares after every shutter is in its slot.
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const Cell cell{r, c};
            const std::string& code = source.board[r][c];
            const int16_t number = code.empty() ? 0 : GetSpecialObjNumber(code);
            if (number < 7 || number > 12)
                continue;
            const auto link = source.links.find(cell);
            const std::string shutter = link == source.links.end() ? "" : codeAt(link->second);
            const int16_t shutterNumber = shutter.empty() ? 0 : GetSpecialObjNumber(shutter);
            if (shutterNumber < 13 ||
                GetSpecialObjColor(shutterNumber) != GetSpecialObjColor(number))
                throw Failure(source.path + ": the " + code + " at " + where(cell) +
                              " needs a link to a shutter of its colour");
            linked.insert(cell);
            const int16_t index = cellIndex(cell), target = cellIndex(link->second);
            if (number <= 9) {
                auto& colour = t.squares[number - 6];
                colour[NextSlot(source, colour, code)] = {number, target, index};
            } else {
                auto& colour = t.keys[number - 9];
                colour[NextSlot(source, colour, code)] = {target, index, number, 0};
            }
        }
    }
    for (const auto& [cell, points] : source.triggers)
        if (!triggered.count(cell))
            throw Failure(source.path + ": no bonus object at " + where(cell));
    for (const auto& [cell, target] : source.links)
        if (!linked.count(cell))
            throw Failure(source.path + ": no key or closing square at " + where(cell));
    if (lamps != 1)
        throw Failure(source.path + ": a puzzle needs one lamp");

    // The player is offered what the source names; everything else is hidden.
    std::map<int, int> offered;
    for (const auto& [code, count] : source.tools) {
        const int toolRow = ToolRowOf(code);
        if (toolRow < 0 || !OfferedInGame(t.toolbox[toolRow]))
            throw Failure(source.path + ": the game tool box cannot offer " + code);
        offered[toolRow] = count;
    }
    for (int row = 0; row < ToolboxRowCount; ++row) {
        ToolboxObjectRow& entry = t.toolbox[row];
        if (entry.stem.size() != 7 || entry.stem[6] != 'U' ||
            entry.stem.compare(0, 5, "BLANK") == 0)
            continue;
        entry.used = used.count(row) ? used[row] : 0;
        const auto offer = offered.find(row);
        const bool shown = offer != offered.end();
        const int allowed = entry.used + (shown ? offer->second : 0);
        if (shown && entry.allowed > 0 && allowed > entry.allowed)
            throw Failure(source.path + ": more " + entry.stem + " than the tool box allows");
        entry.shown = entry.enabled = shown ? True : False;
        entry.allowed = static_cast<int16_t>(allowed);
    }
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quarvelt_puzzlegen <puzzle sources> <game folder>\n");
        return 2;
    }
    const std::string sources = argv[1];
    AppPath = std::string(argv[2]) + "/";
    ImageIndex::Forget();
    LoadToolboxObjects();
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty() || ToolboxObjectTable[0].Free()) {
        std::fprintf(stderr, "quarvelt_puzzlegen: no picture set in %s\n", AppPath.c_str());
        return 1;
    }
    std::set<std::string> pictures;
    for (size_t i = 0; i < index.Records().size(); ++i)
        pictures.insert(index.Name(static_cast<int>(i)));

    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(sources))
        if (entry.path().extension() == ".txt")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());

    try {
        std::set<std::string> bases;
        for (const std::string& path : paths) {
            const Source source = Parse(path);
            if (!bases.insert(source.info.baseName).second)
                throw Failure(path + ": base name " + source.info.baseName + " used twice");
            const PuzzleTables tables = Build(source, pictures);
            const PuzzleFileResult result = SavePuzzleFiles(AppPath, source.info, tables);
            if (!result.Ok())
                throw Failure(path + ": writing " + result.file + " failed: " + result.reason +
                              result.error.description);
        }
        if (paths.empty())
            throw Failure(sources + ": no puzzle sources");
    } catch (const Failure& failure) {
        std::fprintf(stderr, "quarvelt_puzzlegen: %s\n", failure.message.c_str());
        return 1;
    }
    return 0;
}
