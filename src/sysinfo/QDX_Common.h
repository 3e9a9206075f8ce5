#pragma once

#include <string>

namespace zentrix {

// Facts about the running system kept beside a component's data.
struct TStorageInfoRecord {
  int OSPlatform = 0;  // 0 until refreshed; 2 stands for a Linux kernel
  int OSMajorVersion = 0;
  int OSMinorversion = 0;
  int OSBuildNumber = 0;
  std::string OSCSDVersion;  // the kernel's release text, e.g. "6.1.0-18-amd64"
};

// Base of the system-information components. RefreshData reads the live system and marks the
// data available; subclasses call it first and set FDA last.
class TValtri_Component {
public:
  virtual ~TValtri_Component() = default;

  virtual void RefreshData();
  virtual void Clear() = 0;

  bool LiveData() const { return FLiveData; }
  bool DataAvailable() const { return FDA; }
  const TStorageInfoRecord& StorageInfo() const { return FSIR; }

protected:
  bool FLiveData = false;
  bool FDA = false;
  TStorageInfoRecord FSIR;
};

// The kernel's release ("6.1.0-18-amd64") as major, minor and patch numbers; missing parts are 0.
void ParseKernelRelease(const std::string& release, int& major, int& minor, int& patch);

}  // namespace zentrix
