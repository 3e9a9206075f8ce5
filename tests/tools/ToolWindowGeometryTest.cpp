// Where a tool window goes: centred, pulled back on screen, snapped to the edges.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tools/ToolWindowGeometry.h"

namespace zentrix {

void PrintTo(const TRect& r, std::ostream* os) {
  *os << "{" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << "}";
}

namespace {

constexpr TRect kScreen{0, 0, 800, 600};

struct TRectCase {
  const char* Name;
  TRect Frame;
  TRect Expected;
};

std::string CaseName(const ::testing::TestParamInfo<TRectCase>& info) { return info.param.Name; }

class ScreenCheckRectTest : public ::testing::TestWithParam<TRectCase> {};

TEST_P(ScreenCheckRectTest, KeepsTheWindowOnScreenExceptAtTheBottom) {
  EXPECT_EQ(ScreenCheckRect(GetParam().Frame, kScreen), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ScreenCheckRectTest,
    ::testing::Values(TRectCase{"Inside", {100, 100, 356, 486}, {100, 100, 356, 486}},
                      TRectCase{"OnTheRightEdge", {544, 0, 800, 386}, {544, 0, 800, 386}},
                      TRectCase{"HalfOffTheRight", {672, 100, 928, 486}, {544, 100, 800, 486}},
                      TRectCase{"OffTheLeft", {-50, 100, 206, 486}, {0, 100, 256, 486}},
                      TRectCase{"AboveTheTop", {100, -30, 356, 356}, {100, 0, 356, 386}},
                      TRectCase{"OffTheRightAndAbove", {700, -5, 956, 381}, {544, 0, 800, 386}},
                      TRectCase{"BelowTheBottomStays", {100, 500, 356, 886}, {100, 500, 356, 886}},
                      TRectCase{"WiderThanTheScreenKeepsItsLeftOn", {100, 10, 1000, 110}, {0, 10, 900, 110}},
                      TRectCase{"TallerThanTheScreenKeepsItsTopOn", {10, -20, 110, 700}, {10, 0, 110, 720}}),
    CaseName);

class SnapToEdgesTest : public ::testing::TestWithParam<TRectCase> {};

TEST_P(SnapToEdgesTest, SnapsWithinTenPixelsFromEitherSide) {
  EXPECT_EQ(SnapToEdges(GetParam().Frame, kScreen), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SnapToEdgesTest,
    ::testing::Values(TRectCase{"FarFromEveryEdge", {100, 100, 356, 486}, {100, 100, 356, 486}},
                      TRectCase{"TenFromTheLeft", {10, 100, 266, 486}, {0, 100, 256, 486}},
                      TRectCase{"ElevenFromTheLeft", {11, 100, 267, 486}, {11, 100, 267, 486}},
                      TRectCase{"TenBeyondTheLeft", {-10, 100, 246, 486}, {0, 100, 256, 486}},
                      TRectCase{"ElevenBeyondTheLeft", {-11, 100, 245, 486}, {-11, 100, 245, 486}},
                      TRectCase{"NearTheRight", {536, 100, 792, 486}, {544, 100, 800, 486}},
                      TRectCase{"BeyondTheRight", {553, 100, 809, 486}, {544, 100, 800, 486}},
                      TRectCase{"NearTheTop", {100, 4, 356, 390}, {100, 0, 356, 386}},
                      TRectCase{"NearTheBottom", {100, 205, 356, 591}, {100, 214, 356, 600}},
                      TRectCase{"IntoTheBottomRightCorner", {547, 207, 803, 593}, {544, 214, 800, 600}},
                      TRectCase{"NearBothSidesTakesTheLeft", {6, 100, 796, 486}, {0, 100, 790, 486}}),
    CaseName);

TEST(SnapToEdgesAreaTest, SnapsToTheAreaItIsGivenNotTheOrigin) {
  // A work area below a 19-pixel bar on the top edge.
  const TRect area{0, 19, 800, 600};
  EXPECT_EQ(SnapToEdges({100, 25, 356, 411}, area), (TRect{100, 19, 356, 405}));
  EXPECT_EQ(SnapToEdges({100, 12, 356, 398}, area), (TRect{100, 19, 356, 405}));
  EXPECT_EQ(SnapToEdges({100, 3, 356, 389}, area), (TRect{100, 3, 356, 389}));
}

struct TCentreCase {
  const char* Name;
  TSize Size;
  TRect Screen;
  TRect Expected;
};

class CentredRectTest : public ::testing::TestWithParam<TCentreCase> {};

TEST_P(CentredRectTest, CentresOnTheScreen) {
  EXPECT_EQ(CentredRect(GetParam().Size, GetParam().Screen), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CentredRectTest,
    ::testing::Values(TCentreCase{"Calculator", {256, 386}, kScreen, {272, 107, 528, 493}},
                      TCentreCase{"OddLeftover", {587, 445}, kScreen, {106, 77, 693, 522}},
                      TCentreCase{"ScreenNotAtTheOrigin", {200, 100}, {1920, 0, 3200, 1024}, {2460, 462, 2660, 562}},
                      TCentreCase{"LargerThanTheScreen", {1000, 700}, kScreen, {-100, -50, 900, 650}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zentrix
