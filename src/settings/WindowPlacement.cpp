#include "settings/WindowPlacement.h"

#include <array>
#include <charconv>

namespace zentrix {
namespace {

std::string FourNumbers(int a, int b, int c, int d) {
  return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

std::array<int, 4> ParseFour(std::string_view text, std::string_view what) {
  std::array<int, 4> values{};
  std::string_view rest = text;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = rest.find(',');
    if ((comma == std::string_view::npos) != (i == 3))
      throw ESettingsError("\"" + std::string(text.substr(0, 64)) + "\" is not a valid position value for " +
                           std::string(what));
    std::string_view item = rest.substr(0, comma);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    values[i] = DecodeInteger(item, what);
    if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
  }
  return values;
}

}  // namespace

std::string PlacementSection(std::string_view storagePath) {
  if (!storagePath.empty() && storagePath.back() == '\\') storagePath.remove_suffix(1);
  return std::string(storagePath);
}

void SavePlacement(TSettingsStore& store, std::string_view storagePath, const TWindowPlacement& p) {
  const std::string prefix = PlacementSection(storagePath) + "\\";
  store.WriteInteger(prefix + "FormVersion", 0);
  store.WriteInteger(prefix + "ShowCmd", p.ShowCmd);
  store.WriteInteger(prefix + "Flags", p.Flags);
  store.WriteInteger(prefix + "PixelsPerInch", p.PixelsPerInch);
  store.WriteString(prefix + "MinMaxPos", FourNumbers(p.MinPosX, p.MinPosY, p.MaxPosX, p.MaxPosY));
  store.WriteString(prefix + "NormPos", FourNumbers(p.Left, p.Top, p.Right, p.Bottom));
}

std::optional<TWindowPlacement> RestorePlacement(TSettingsStore& store, std::string_view storagePath) {
  const std::string prefix = PlacementSection(storagePath) + "\\";
  if (!store.ValueExists(prefix + "NormPos")) return std::nullopt;
  if (store.ReadInteger(prefix + "FormVersion", 0) < 0) return std::nullopt;
  TWindowPlacement p;
  p.ShowCmd = store.ReadInteger(prefix + "ShowCmd", p.ShowCmd);
  p.Flags = store.ReadInteger(prefix + "Flags", p.Flags);
  p.PixelsPerInch = store.ReadInteger(prefix + "PixelsPerInch", p.PixelsPerInch);
  if (store.ValueExists(prefix + "MinMaxPos")) {
    const auto mm = ParseFour(store.ReadString(prefix + "MinMaxPos", ""), prefix + "MinMaxPos");
    p.MinPosX = mm[0];
    p.MinPosY = mm[1];
    p.MaxPosX = mm[2];
    p.MaxPosY = mm[3];
  }
  const auto np = ParseFour(store.ReadString(prefix + "NormPos", ""), prefix + "NormPos");
  p.Left = np[0];
  p.Top = np[1];
  p.Right = np[2];
  p.Bottom = np[3];
  return p;
}

}  // namespace zentrix
