#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/SettingsStore.h"

namespace zentrix {

// A window's stored state and position, in the fields of a window placement record.
struct TWindowPlacement {
  int ShowCmd = 1;  // 1 normal, 2 minimised, 3 maximised
  int Flags = 0;
  int PixelsPerInch = 96;
  int MinPosX = -1, MinPosY = -1, MaxPosX = -1, MaxPosY = -1;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // the restored window

  bool operator==(const TWindowPlacement&) const = default;
};

// The section a window's storage path names: the path without its final "\" ("计算器\" and
// "计算器" both give "计算器").
std::string PlacementSection(std::string_view storagePath);

// Writes FormVersion 0, ShowCmd, Flags, PixelsPerInch, MinMaxPos and NormPos into the window's
// section; the caller flushes.
void SavePlacement(TSettingsStore& store, std::string_view storagePath, const TWindowPlacement& placement);
// Nothing when the section holds no placement or its FormVersion is below 0. A value that
// cannot be read raises ESettingsError.
std::optional<TWindowPlacement> RestorePlacement(TSettingsStore& store, std::string_view storagePath);

}  // namespace zentrix
