// The tool box and the board name nine objects differently, and the two
// splitters have a second, older board code. These translate between the two.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// The board picture name (code, fifteen "_", "00.BMP") of the object in row
// `tool` of ToolboxObjectTable; empty for a row outside the table, which
// callers take as nothing picked.
std::string GetGameboardObj(int16_t tool);

// The tool code of a board picture name or board code: its first five
// characters after blanks are trimmed, translated where the two differ.
std::string ConvGameObjToToolObj(const std::string& name);

}  // namespace quarvelt
