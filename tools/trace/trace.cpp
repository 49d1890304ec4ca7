// quarvelt-trace GAME_FOLDER BOARD_FILE
//
// Compiles the board with GAME_FOLDER as the program folder (its index, its
// archives and its DATA/ image folder) and prints every message box, whether
// the compile succeeded, and each photon's end state and path.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "common/globals.h"
#include "engine/board_trace.h"
#include "engine/compiler.h"
#include "platform/files.h"
#include "platform/services.h"

namespace {

// Prints each box as it is shown and answers it with OK.
class PrintedBoxes : public platform::MessageBoxes {
  public:
    int Show(const std::string& text, int, const std::string& title) override {
        std::cout << quarvelt::TraceMessageLine(title, text) << '\n';
        return platform::AnswerOk;
    }
    void Beep() override {}
};

int Usage() {
    std::cerr << "usage: quarvelt-trace GAME_FOLDER BOARD_FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return Usage();
    std::string folder = argv[1];
    if (folder.empty())
        return Usage();
    if (folder.back() != '/')
        folder += '/';

    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::cerr << "quarvelt-trace: cannot read " << argv[2] << '\n';
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    quarvelt::BoardFile board;
    std::string error;
    if (!quarvelt::ParseBoardFile(text.str(), board, error)) {
        std::cerr << "quarvelt-trace: " << argv[2] << ": " << error << '\n';
        return 1;
    }

    quarvelt::AppPath = folder;
    quarvelt::ImagePath = folder + "DATA/";
    if (auto failure = platform::CreateFolder(quarvelt::ImagePath)) {
        std::cerr << "quarvelt-trace: cannot create " << quarvelt::ImagePath << ": "
                  << failure.description << '\n';
        return 1;
    }
    PrintedBoxes boxes;
    platform::Services services;
    services.boxes = &boxes;
    platform::Install(services);

    quarvelt::LoadBoardFile(board);
    quarvelt::Flag ok = quarvelt::False;
    quarvelt::CompilePuzzle(ok);
    std::cout << (quarvelt::IsTrue(ok) ? "compile ok" : "compile failed") << '\n';
    for (int photon = 1; photon <= 3; ++photon)
        std::cout << quarvelt::TracePhotonLine(photon) << '\n';
    return 0;
}
