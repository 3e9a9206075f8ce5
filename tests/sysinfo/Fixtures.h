#pragma once

#include <string>

namespace zentrix::test {

// A fixture tree or file under tests/fixtures/sysinfo.
inline std::string SysFixture(const std::string& relative) {
  return std::string(ZENTRIX_FIXTURES) + "/sysinfo/" + relative;
}

}  // namespace zentrix::test
