#include <gtest/gtest.h>

#include <vector>

#include "platform/linux/NetWmStrut.h"

namespace zentrix {
namespace {

template <class TCase>
  requires requires(const TCase& c) { c.Name; }
void PrintTo(const TCase& c, std::ostream* os) {
  *os << c.Name;
}

constexpr TSize kRoot{1024, 768};

TNetWmStrut Strut(std::vector<std::uint32_t> values) {
  TNetWmStrut s;
  std::copy(values.begin(), values.end(), s.Values.begin());
  return s;
}

struct TDockStrutCase {
  const char* Name;
  TAppBarEdge Edge;
  TRect Rect;
  std::vector<std::uint32_t> Expected;  // the twelve values
};

class NetWmStrutForDock : public testing::TestWithParam<TDockStrutCase> {};

TEST_P(NetWmStrutForDock, ReservesTheStripFromTheRootEdge) {
  const TDockStrutCase& c = GetParam();
  EXPECT_EQ(StrutForDock(c.Edge, c.Rect, kRoot).Values, Strut(c.Expected).Values);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, NetWmStrutForDock,
    testing::Values(
        TDockStrutCase{"Top37", abeTop, {0, 0, 1024, 37}, {0, 0, 37, 0, 0, 0, 0, 0, 0, 1023, 0, 0}},
        TDockStrutCase{"TopBelowAnotherBar", abeTop, {0, 25, 1024, 62}, {0, 0, 62, 0, 0, 0, 0, 0, 0, 1023, 0, 0}},
        TDockStrutCase{"TopBesideAPanel", abeTop, {50, 0, 1024, 37}, {0, 0, 37, 0, 0, 0, 0, 0, 50, 1023, 0, 0}},
        TDockStrutCase{"Bottom19", abeBottom, {0, 749, 1024, 768}, {0, 0, 0, 19, 0, 0, 0, 0, 0, 0, 0, 1023}},
        TDockStrutCase{"Left60", abeLeft, {0, 0, 60, 768}, {60, 0, 0, 0, 0, 767, 0, 0, 0, 0, 0, 0}},
        TDockStrutCase{"Right60BelowATopBar", abeRight, {964, 37, 1024, 768}, {0, 60, 0, 0, 0, 0, 37, 767, 0, 0, 0, 0}},
        TDockStrutCase{"WiderThanTheRootIsClipped", abeTop, {-10, 0, 1100, 37}, {0, 0, 37, 0, 0, 0, 0, 0, 0, 1023, 0, 0}},
        TDockStrutCase{"EmptyReservesNothing", abeTop, {0, 0, 0, 0}, {}},
        TDockStrutCase{"FloatingReservesNothing", abeFloat, {0, 0, 1024, 37}, {}},
        TDockStrutCase{"OffTheRootReservesNothing", abeBottom, {0, 800, 1024, 819}, {}}),
    [](const auto& info) { return info.param.Name; });

struct TLeaveOutCase {
  const char* Name;
  std::vector<std::uint32_t> Property;  // as read from another window
  TRect Rect;
  TRect Expected;
};

class NetWmLeaveOutStrut : public testing::TestWithParam<TLeaveOutCase> {};

TEST_P(NetWmLeaveOutStrut, ShrinksTheRectangleWhereTheStripCrossesIt) {
  const TLeaveOutCase& c = GetParam();
  EXPECT_EQ(LeaveOutStrut(c.Rect, StrutFromProperty(c.Property, kRoot), kRoot), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Strips, NetWmLeaveOutStrut,
    testing::Values(
        TLeaveOutCase{"TopBar", {0, 0, 37, 0, 0, 0, 0, 0, 0, 1023, 0, 0}, {0, 0, 1024, 768}, {0, 37, 1024, 768}},
        TLeaveOutCase{"TopStripElsewhereAlongTheEdge", {0, 0, 37, 0, 0, 0, 0, 0, 0, 99, 0, 0}, {200, 0, 1024, 768},
                      {200, 0, 1024, 768}},
        TLeaveOutCase{"PlainStrutSpansTheEdge", {50, 0, 0, 0}, {0, 0, 1024, 768}, {50, 0, 1024, 768}},
        TLeaveOutCase{"BottomAndRight", {0, 20, 0, 30, 0, 0, 0, 767, 0, 0, 0, 1023}, {0, 0, 1024, 768},
                      {0, 0, 1004, 738}},
        TLeaveOutCase{"OtherLengthIsNoStrut", {0, 0, 37}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        TLeaveOutCase{"HugeWidthDoesNotWrap", {0, 0, 0xFFFFFFFF, 0}, {0, 0, 1024, 768}, {0, 2147483647, 1024, 768}}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace zentrix
