#include "support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "common/globals.h"
#include "common/image_index.h"
#include "entries.h"

namespace quarvelt::fuzz {

namespace {

// One folder per process under the system's temporary folder, removed at exit.
class WorkFolder {
  public:
    WorkFolder() {
        std::string path =
            (std::filesystem::temp_directory_path() / "quarvelt-fuzz-XXXXXX").string();
        if (!::mkdtemp(path.data()))
            Broken("work folder", "cannot create " + path);
        path_ = path + "/";
    }
    ~WorkFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

const std::string& WorkPath() {
    static WorkFolder folder;
    return folder.Path();
}

}  // namespace

std::vector<std::string> Split(const uint8_t* data, size_t size, size_t count) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < count) {
        const size_t at = input.find(PartSeparator, start);
        if (at == std::string::npos)
            break;
        parts.push_back(input.substr(start, at - start));
        start = at + PartSeparator.size();
    }
    parts.push_back(input.substr(start));
    return parts;
}

std::string FreshFolder(const std::string& name) {
    const std::string path = WorkPath() + name + "/";
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path, ec);
    Require(!ec, "work folder", "cannot create " + path);
    return path;
}

std::string KeptFolder(const std::string& name) {
    const std::string path = WorkPath() + name + "/";
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    Require(!ec, "work folder", "cannot create " + path);
    return path;
}

void Broken(const char* target, const std::string& what) {
    std::fprintf(stderr, "fuzz %s: %s\n", target, what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string TablesDifference(const PuzzleTables& a, const PuzzleTables& b) {
    if (a.board.size() != b.board.size())
        return "board size";
    for (size_t i = 0; i < a.board.size(); ++i) {
        const BoardCell &x = a.board[i], &y = b.board[i];
        if (std::tie(x.pictureName, x.group, x.button, x.lockFlag, x.lampFlag) !=
            std::tie(y.pictureName, y.group, y.button, y.lockFlag, y.lampFlag))
            return "cell " + std::to_string(i);
    }
    for (size_t i = 0; i < a.toolbox.size(); ++i) {
        const ToolboxObjectRow &x = a.toolbox[i], &y = b.toolbox[i];
        if (std::tie(x.shown, x.stem, x.group, x.archiveOffset, x.button, x.enabled, x.allowed,
                     x.used, x.archiveId, x.imageSize) !=
            std::tie(y.shown, y.stem, y.group, y.archiveOffset, y.button, y.enabled, y.allowed,
                     y.used, y.archiveId, y.imageSize))
            return "tool row " + std::to_string(i);
    }
    for (size_t k = 0; k < a.shutters.size(); ++k)
        for (size_t n = 0; n < a.shutters[k].size(); ++n) {
            const ShutterSlot &x = a.shutters[k][n], &y = b.shutters[k][n];
            if (x.cell != y.cell || (x.open != 0) != (y.open != 0) ||
                x.objectNumber != y.objectNumber)
                return "shutter " + std::to_string(k) + "," + std::to_string(n);
        }
    for (size_t c = 0; c < a.keys.size(); ++c)
        for (size_t n = 0; n < a.keys[c].size(); ++n) {
            const KeySlot &x = a.keys[c][n], &y = b.keys[c][n];
            if (std::tie(x.shutterCell, x.cell, x.objectNumber, x.state) !=
                std::tie(y.shutterCell, y.cell, y.objectNumber, y.state))
                return "key " + std::to_string(c) + "," + std::to_string(n);
            const ClosingSquareSlot &s = a.squares[c][n], &t = b.squares[c][n];
            if (std::tie(s.objectNumber, s.shutterCell, s.cell) !=
                std::tie(t.objectNumber, t.shutterCell, t.cell))
                return "square " + std::to_string(c) + "," + std::to_string(n);
        }
    for (size_t k = 0; k < a.bonus.size(); ++k)
        for (size_t n = 0; n < a.bonus[k].size(); ++n) {
            const BonusObjSlot &x = a.bonus[k][n], &y = b.bonus[k][n];
            if (std::tie(x.points, x.cell, x.state) != std::tie(y.points, y.cell, y.state))
                return "bonus " + std::to_string(k) + "," + std::to_string(n);
        }
    return {};
}

Session::Session() : saved_(platform::Current()) {
    platform::Services services;
    services.boxes = &boxes_;
    platform::Install(services);
    ResetGlobals();
    // A file replaced within one tick of the clock keeps its stamp; nothing cached may stay.
    ImageIndex::Forget();
}

Session::~Session() {
    ImageIndex::Forget();
    ResetGlobals();
    platform::Install(saved_);
}

}  // namespace quarvelt::fuzz
