#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zentrix {

// The version strings of a program file.
struct TVersionInfo {
  std::string FileName;
  std::string FileVersion;
  std::string Version;
  std::string ProductName;
  std::string CompanyName;
  std::string Description;
  std::string Comments;
  std::string Copyright;
  std::string Trademarks;
  std::string InternalName;
  std::string OriginalFilename;
  std::string ProductVersion;
  std::uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
  std::uint16_t ProductMajor = 0, ProductMinor = 0, ProductRelease = 0, ProductBuild = 0;
  std::string SpecialBuild;
  bool PreRelease = false;
};

inline constexpr const char* kApplicationTitle = "Valtri Zentrix";

// The record our own binaries carry: stamped at build time from the project version.
TVersionInfo BuildVersionInfo();

// "%d.%d.%d.%d", with " BETA" (and " %d" of Build when not 0) for a pre-release.
std::string FormatVersion(const TVersionInfo& info);

// ELF files carry no version resource; the running program's record is stamped into it at
// build time. For the running program's file info is that record and the result true; for any
// other file only FileName is set and the result is false.
bool ReadVersionInfo(const std::filesystem::path& fileName, TVersionInfo& info);

}  // namespace zentrix
