#include "appbar/AppBarSettings.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace zentrix {
namespace {

class TWriter {
public:
  explicit TWriter(TAppBarSettingsBytes& bytes) : FBytes(bytes) {}
  void U8(std::uint8_t v) { FBytes[FPos++] = v; }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void Size(TSize s) {
    I32(s.cx);
    I32(s.cy);
  }
  std::size_t Pos() const { return FPos; }

private:
  TAppBarSettingsBytes& FBytes;
  std::size_t FPos = 0;
};

class TReader {
public:
  explicit TReader(std::string_view bytes) : FBytes(bytes) {}
  std::uint8_t U8() { return static_cast<std::uint8_t>(FBytes[FPos++]); }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{U8()} << (8 * i);
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  TSize Size() {
    TSize s;
    s.cx = I32();
    s.cy = I32();
    return s;
  }

private:
  std::string_view FBytes;
  std::size_t FPos = 0;
};

bool IsFlag(std::uint8_t v) { return v <= 1; }
bool IsNonNegative(TSize s) { return s.cx >= 0 && s.cy >= 0; }

}  // namespace

TAppBarSettings DefaultAppBarSettings(TSize screen) {
  TAppBarSettings s;
  s.nMaxWidth = screen.cx;
  s.nMaxHeight = screen.cy;
  s.szMaxDockSize = {screen.cx / 2, screen.cy / 2};
  return s;
}

TAppBarSettingsBytes AppBarSettingsToBytes(const TAppBarSettings& s) {
  TAppBarSettingsBytes bytes{};
  TWriter w(bytes);
  w.U32(s.cbSize);
  w.U8(s.abEdge);
  w.U8(s.abFlags);
  w.U8(s.bAutohide);
  w.U8(s.bAlwaysOnTop);
  w.U8(s.bSlideEffect);
  for (std::uint8_t b : s.Pad9) w.U8(b);
  w.I32(s.nTimerInterval);
  w.Size(s.szSizeInc);
  w.Size(s.szDockSize);
  w.I32(s.rcFloat.Left);
  w.I32(s.rcFloat.Top);
  w.I32(s.rcFloat.Right);
  w.I32(s.rcFloat.Bottom);
  w.I32(s.nMinWidth);
  w.I32(s.nMinHeight);
  w.I32(s.nMaxWidth);
  w.I32(s.nMaxHeight);
  w.Size(s.szMinDockSize);
  w.Size(s.szMaxDockSize);
  w.U8(s.abTaskEntry);
  w.U8(s.bLoadSettings);
  w.U8(s.bSaveSettings);
  w.U8(s.Pad83);
  return bytes;
}

std::optional<TAppBarSettings> AppBarSettingsFromBytes(std::string_view bytes) {
  if (bytes.size() != kAppBarSettingsSize) return std::nullopt;
  TReader r(bytes);
  TAppBarSettings s;
  s.cbSize = r.U32();
  const std::uint8_t edge = r.U8();
  s.abFlags = r.U8();
  const std::uint8_t autoHide = r.U8(), onTop = r.U8(), slide = r.U8();
  for (std::uint8_t& b : s.Pad9) b = r.U8();
  s.nTimerInterval = r.I32();
  s.szSizeInc = r.Size();
  s.szDockSize = r.Size();
  s.rcFloat.Left = r.I32();
  s.rcFloat.Top = r.I32();
  s.rcFloat.Right = r.I32();
  s.rcFloat.Bottom = r.I32();
  s.nMinWidth = r.I32();
  s.nMinHeight = r.I32();
  s.nMaxWidth = r.I32();
  s.nMaxHeight = r.I32();
  s.szMinDockSize = r.Size();
  s.szMaxDockSize = r.Size();
  const std::uint8_t taskEntry = r.U8(), load = r.U8(), save = r.U8();
  s.Pad83 = r.U8();

  if (s.cbSize != kAppBarSettingsSize || edge > abeFloat || taskEntry > abtFloatDependent ||
      (s.abFlags & ~kAppBarAllFlags) != 0)
    return std::nullopt;
  if (!IsFlag(autoHide) || !IsFlag(onTop) || !IsFlag(slide) || !IsFlag(load) || !IsFlag(save))
    return std::nullopt;
  if (s.nTimerInterval < 0 || !IsNonNegative(s.szSizeInc) || !IsNonNegative(s.szDockSize) ||
      s.nMinWidth < 0 || s.nMinHeight < 0 || s.nMaxWidth < 0 || s.nMaxHeight < 0 ||
      !IsNonNegative(s.szMinDockSize) || !IsNonNegative(s.szMaxDockSize))
    return std::nullopt;
  s.abEdge = static_cast<TAppBarEdge>(edge);
  s.abTaskEntry = static_cast<TAppBarTaskEntry>(taskEntry);
  s.bAutohide = autoHide != 0;
  s.bAlwaysOnTop = onTop != 0;
  s.bSlideEffect = slide != 0;
  s.bLoadSettings = load != 0;
  s.bSaveSettings = save != 0;
  return s;
}

std::optional<TAppBarSettings> ReadAppBarSettingsFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  // One byte more than a record is enough to tell a longer file from a record.
  std::string bytes(kAppBarSettingsSize + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return AppBarSettingsFromBytes(bytes);
}

bool WriteAppBarSettingsFile(const std::filesystem::path& file, const TAppBarSettings& settings) {
  std::error_code ec;
  if (file.has_parent_path()) {
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec) return false;
  }
  const TAppBarSettingsBytes bytes = AppBarSettingsToBytes(settings);
  std::string tempName = file.string() + ".XXXXXX";
  const int fd = ::mkstemp(tempName.data());
  if (fd < 0) return false;
  bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(tempName.c_str(), file.c_str()) == 0;
  if (!ok) std::remove(tempName.c_str());
  return ok;
}

std::filesystem::path AppBarSettingsFile(const std::filesystem::path& configHome, std::string_view keyName) {
  std::filesystem::path result = configHome;
  bool any = false;
  std::size_t start = 0;
  while (start <= keyName.size()) {
    std::size_t end = keyName.find('\\', start);
    if (end == std::string_view::npos) end = keyName.size();
    const std::string_view part = keyName.substr(start, end - start);
    if (!part.empty()) {
      if (part == "." || part == ".." || part.find('/') != std::string_view::npos)
        throw EAppBarError("The settings key \"" + std::string(keyName) + "\" is not a plain key path.");
      result /= std::string(part);
      any = true;
    }
    start = end + 1;
  }
  if (!any) throw EAppBarError("The settings key is empty.");
  return result / "default";
}

}  // namespace zentrix
