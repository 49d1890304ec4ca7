#include "common/geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace quarvelt {
namespace {

TEST(GeometryTest, CellIndexCountsRowByRow) {
    EXPECT_EQ(GetCellIndex(0, 0, 15), 0);
    EXPECT_EQ(GetCellIndex(14, 0, 15), 14);
    EXPECT_EQ(GetCellIndex(0, 1, 15), 15);
    EXPECT_EQ(GetCellIndex(14, 14, 15), 224);
    EXPECT_EQ(GetCellIndex(59, 59, 60), 3599);
    EXPECT_EQ(GetCellIndex(3, 2, 10), 23);
}

TEST(GeometryTest, CellIndexRefusesNarrowWidths) {
    for (int16_t width : {int16_t{9}, int16_t{0}, int16_t{-15}}) {
        EXPECT_EQ(GetCellIndex(0, 0, width), -1) << width;
        EXPECT_EQ(GetCellIndex(5, 3, width), -1) << width;
        EXPECT_EQ(GetCellIndex(100, 100, width), -1) << width;
    }
}

TEST(GeometryTest, CellIndexBeyondSixteenBitsIsMinusOne) {
    constexpr int16_t max = std::numeric_limits<int16_t>::max();
    constexpr int16_t min = std::numeric_limits<int16_t>::min();
    EXPECT_EQ(GetCellIndex(7, 3276, 10), max);
    EXPECT_EQ(GetCellIndex(8, 3276, 10), -1);
    EXPECT_EQ(GetCellIndex(max, max, max), -1);
    EXPECT_EQ(GetCellIndex(-8, -3276, 10), min);
    EXPECT_EQ(GetCellIndex(-9, -3276, 10), -1);
    EXPECT_EQ(GetCellIndex(min, min, max), -1);
}

TEST(GeometryTest, PositionTextIsRowThenColumn) {
    for (int16_t width : {int16_t{10}, int16_t{15}, int16_t{60}}) {
        EXPECT_EQ(FormatCellPos(0, width), "000000") << width;
    }
    EXPECT_EQ(FormatCellPos(14, 15), "000014");
    EXPECT_EQ(FormatCellPos(15, 15), "001000");
    EXPECT_EQ(FormatCellPos(224, 15), "014014");
    EXPECT_EQ(FormatCellPos(3599, 60), "059059");
    EXPECT_EQ(FormatCellPos(599, 10), "059009");
}

TEST(GeometryTest, PositionTextOutsideAnyBoard) {
    // A width under 10 or a negative index: the top-left cell, and no division by zero.
    EXPECT_EQ(FormatCellPos(25, 9), "000000");
    EXPECT_EQ(FormatCellPos(25, 0), "000000");
    EXPECT_EQ(FormatCellPos(25, -15), "000000");
    EXPECT_EQ(FormatCellPos(-1, 15), "000000");
    EXPECT_EQ(FormatCellPos(std::numeric_limits<int16_t>::min(), 15), "000000");
    // Rows past 999 keep every digit rather than being cut to three.
    EXPECT_EQ(FormatCellPos(std::numeric_limits<int16_t>::max(), 10), "3276007");
}

TEST(GeometryTest, PositionTextRoundTripsOnEveryBoardSize) {
    struct Board {
        int16_t rows;
        int16_t cols;
    };
    for (const Board board :
         {Board{10, 10}, Board{15, 15}, Board{10, 60}, Board{60, 10}, Board{60, 60}}) {
        const int count = board.rows * board.cols;
        for (int index = 0; index < count; ++index) {
            const std::string text = FormatCellPos(static_cast<int16_t>(index), board.cols);
            ASSERT_EQ(text.size(), 6u) << index;
            ASSERT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
            const int row = std::stoi(text.substr(0, 3));
            const int column = std::stoi(text.substr(3, 3));
            ASSERT_LT(row, board.rows) << board.rows << "x" << board.cols << " " << text;
            ASSERT_LT(column, board.cols) << board.rows << "x" << board.cols << " " << text;
            ASSERT_EQ(
                GetCellIndex(static_cast<int16_t>(column), static_cast<int16_t>(row), board.cols),
                index)
                << board.rows << "x" << board.cols << " " << text;
        }
    }
}

}  // namespace
}  // namespace quarvelt
