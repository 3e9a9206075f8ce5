#include "sysinfo/QDX_Common.h"

#include <sys/utsname.h>

#include <cctype>

namespace zentrix {

void ParseKernelRelease(const std::string& release, int& major, int& minor, int& patch) {
  int* parts[] = {&major, &minor, &patch};
  for (int* p : parts) *p = 0;
  std::size_t i = 0;
  for (int* p : parts) {
    if (i >= release.size() || !std::isdigit(static_cast<unsigned char>(release[i]))) break;
    long value = 0;
    while (i < release.size() && std::isdigit(static_cast<unsigned char>(release[i]))) {
      if (value < 1000000) value = value * 10 + (release[i] - '0');
      ++i;
    }
    *p = static_cast<int>(value);
    if (i >= release.size() || release[i] != '.') break;
    ++i;
  }
}

void TValtri_Component::RefreshData() {
  FLiveData = true;
  utsname names{};
  if (uname(&names) == 0) {
    FSIR.OSPlatform = 2;
    FSIR.OSCSDVersion = names.release;
    ParseKernelRelease(FSIR.OSCSDVersion, FSIR.OSMajorVersion, FSIR.OSMinorversion, FSIR.OSBuildNumber);
  }
}

}  // namespace zentrix
