#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/Exceptions.h"
#include "platform/AppBarShell.h"
#include "platform/Geometry.h"

namespace zentrix {

class EAppBarError : public EZentrixError {
public:
  using EZentrixError::EZentrixError;
};

enum TAppBarFlag : std::uint8_t {
  abfAllowLeft = 1 << 0,
  abfAllowTop = 1 << 1,
  abfAllowRight = 1 << 2,
  abfAllowBottom = 1 << 3,
  abfAllowFloat = 1 << 4,
};
inline constexpr std::uint8_t kAppBarAllFlags = 0x1F;
inline constexpr std::uint8_t kAppBarAllEdgeFlags = 0x0F;

enum TAppBarTaskEntry : std::uint8_t {
  abtShow = 0,            // a taskbar button always
  abtHide = 1,            // never
  abtFloatDependent = 2,  // only while floating
};

// The toolbar's settings, laid out exactly as the 84-byte little-endian record it is stored as.
struct TAppBarSettings {
  std::uint32_t cbSize = 84;
  TAppBarEdge abEdge = abeTop;
  std::uint8_t abFlags = kAppBarAllFlags;
  bool bAutohide = false;
  bool bAlwaysOnTop = true;
  bool bSlideEffect = true;
  std::array<std::uint8_t, 3> Pad9{};
  std::int32_t nTimerInterval = 400;  // slide time and auto-hide check interval, ms
  TSize szSizeInc{1, 1};              // 0 forbids sizing in that direction
  TSize szDockSize{19, 19};           // cx: width docked left/right; cy: height docked top/bottom
  TRect rcFloat;
  std::int32_t nMinWidth = 0;
  std::int32_t nMinHeight = 0;
  std::int32_t nMaxWidth = 0;
  std::int32_t nMaxHeight = 0;
  TSize szMinDockSize;
  TSize szMaxDockSize;
  TAppBarTaskEntry abTaskEntry = abtFloatDependent;
  bool bLoadSettings = false;  // kept with the record; nothing acts on it
  bool bSaveSettings = false;  // store the current record on exit
  std::uint8_t Pad83 = 0;

  friend bool operator==(const TAppBarSettings&, const TAppBarSettings&) = default;
};

static_assert(sizeof(TAppBarSettings) == 84);
static_assert(offsetof(TAppBarSettings, abEdge) == 4);
static_assert(offsetof(TAppBarSettings, bSlideEffect) == 8);
static_assert(offsetof(TAppBarSettings, nTimerInterval) == 12);
static_assert(offsetof(TAppBarSettings, szSizeInc) == 16);
static_assert(offsetof(TAppBarSettings, szDockSize) == 24);
static_assert(offsetof(TAppBarSettings, rcFloat) == 32);
static_assert(offsetof(TAppBarSettings, nMinWidth) == 48);
static_assert(offsetof(TAppBarSettings, nMaxHeight) == 60);
static_assert(offsetof(TAppBarSettings, szMinDockSize) == 64);
static_assert(offsetof(TAppBarSettings, szMaxDockSize) == 72);
static_assert(offsetof(TAppBarSettings, abTaskEntry) == 80);
static_assert(offsetof(TAppBarSettings, bSaveSettings) == 82);

inline constexpr std::size_t kAppBarSettingsSize = 84;
using TAppBarSettingsBytes = std::array<std::uint8_t, kAppBarSettingsSize>;

// The defaults for a primary screen of the given size: floating limits are the screen, docked
// limits half of it (rounded toward zero).
TAppBarSettings DefaultAppBarSettings(TSize screen);

// The stored byte image, written field by field so that it is little-endian on any host.
TAppBarSettingsBytes AppBarSettingsToBytes(const TAppBarSettings& settings);

// A record read back from outside: nothing when the bytes are not 84 or would put the bar in a
// state it cannot be in (another size field, an unknown edge or task entry, flags outside the
// five, Booleans other than 0 and 1, negative sizes, steps or slide time).
std::optional<TAppBarSettings> AppBarSettingsFromBytes(std::string_view bytes);

// Reads the record from file; nothing when the file is missing, unreadable or not a valid record.
std::optional<TAppBarSettings> ReadAppBarSettingsFile(const std::filesystem::path& file);

// Writes the record whole or not at all (temporary file, flush, rename), creating the folders.
// False when the file cannot be written.
bool WriteAppBarSettingsFile(const std::filesystem::path& file, const TAppBarSettings& settings);

// Where the record of a toolbar settings key ("Software\AppBar") lives under the user's
// configuration folder: the key's folders, and the key's value in a file "default".
// Throws EAppBarError for an empty key or one with "." or ".." parts.
std::filesystem::path AppBarSettingsFile(const std::filesystem::path& configHome, std::string_view keyName);

}  // namespace zentrix
