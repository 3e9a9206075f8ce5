#include <gtest/gtest.h>

#include "core/GetToken.h"

namespace zentrix {
namespace {

// Table rows print as their names in test listings.
template <typename T>
  requires requires(const T& row) { row.Name; }
void PrintTo(const T& row, std::ostream* os) {
  *os << row.Name;
}

struct TTokenCase {
  const char* Name;
  const char* Text;
  std::size_t Index;
  const char* Delimiters;
  const char* Expected;
};

class GetTokenTest : public ::testing::TestWithParam<TTokenCase> {};

TEST_P(GetTokenTest, Field) {
  const TTokenCase& c = GetParam();
  EXPECT_EQ(GetToken(c.Text, c.Index, c.Delimiters), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetTokenTest,
    ::testing::Values(TTokenCase{"First", "a,b,c", 0, ",", "a"}, TTokenCase{"Middle", "a,b,c", 1, ",", "b"},
                      TTokenCase{"Last", "a,b,c", 2, ",", "c"}, TTokenCase{"PastEnd", "a,b,c", 3, ",", ""},
                      TTokenCase{"FarPastEnd", "a,b,c", 100, ",", ""}, TTokenCase{"EmptyField", "a,,c", 1, ",", ""},
                      TTokenCase{"FieldAfterEmpty", "a,,c", 2, ",", "c"},
                      TTokenCase{"TrailingDelimiter", "a,", 1, ",", ""},
                      TTokenCase{"EmptyText", "", 0, ",", ""}, TTokenCase{"NoDelimiter", "abc", 0, ",", "abc"},
                      TTokenCase{"AnyOfSet", "a\tb,c", 2, ",\t", "c"},
                      TTokenCase{"TabOnlySet", "a b,c\td", 1, "\t", "d"},
                      TTokenCase{"Utf8Kept", "M\xC3\xBCnchen\tDE", 0, "\t", "M\xC3\xBCnchen"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zentrix
