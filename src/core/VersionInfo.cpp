#include "core/VersionInfo.h"

#include <system_error>

#include "core/BuildInfo.h"
#include "platform/Environment.h"

namespace zentrix {

TVersionInfo BuildVersionInfo() {
  TVersionInfo info;
  info.CompanyName = "Valtri";
  info.ProductName = "Zentrix";
  info.Description = "Zentrix desktop information bar";
  info.Copyright = "Copyright (C) 2026 Valtri";
  info.InternalName = "zentrix";
  info.OriginalFilename = "zentrix";
  info.Major = info.ProductMajor = static_cast<std::uint16_t>(kVersionMajor);
  info.Minor = info.ProductMinor = static_cast<std::uint16_t>(kVersionMinor);
  info.Release = info.ProductRelease = static_cast<std::uint16_t>(kVersionPatch);
  info.Build = info.ProductBuild = 0;
  info.FileVersion = info.ProductVersion = FormatVersion(info);
  info.Version = FormatVersion(info);
  return info;
}

std::string FormatVersion(const TVersionInfo& info) {
  std::string text = std::to_string(info.Major) + "." + std::to_string(info.Minor) + "." +
                     std::to_string(info.Release) + "." + std::to_string(info.Build);
  if (info.PreRelease) {
    text += " BETA";
    if (info.Build != 0) text += " " + std::to_string(info.Build);
  }
  return text;
}

bool ReadVersionInfo(const std::filesystem::path& fileName, TVersionInfo& info) {
  info = TVersionInfo{};
  info.FileName = fileName.string();
  std::error_code ec;
  const std::filesystem::path self = platform::ProgramPath();
  if (self.empty() || !std::filesystem::equivalent(fileName, self, ec) || ec) return false;
  info = BuildVersionInfo();
  info.FileName = fileName.string();
  return true;
}

}  // namespace zentrix
