#include "sysinfo/QDX_OS.h"

#include <dirent.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "sysinfo/SysText.h"

namespace zentrix {
namespace {

std::optional<std::string> ZoneNameFromPath(const std::string& path) {
  const std::size_t at = path.rfind("zoneinfo/");
  if (at == std::string::npos) return std::nullopt;
  std::string name = path.substr(at + 9);
  // zoneinfo/posix/Europe/Prague and zoneinfo/right/... name the same zone.
  for (const char* prefix : {"posix/", "right/"})
    if (name.rfind(prefix, 0) == 0) name.erase(0, std::char_traits<char>::length(prefix));
  return name;
}

bool SafeZoneName(const std::string& name) {
  return !name.empty() && name.front() != '/' && name.find("..") == std::string::npos;
}

}  // namespace

double TickSecondsOf(std::uint64_t millisecondsSinceBoot) {
  return static_cast<double>(static_cast<std::uint32_t>(millisecondsSinceBoot)) / 1000.0;
}

double SecondsSinceBoot() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double TickSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_BOOTTIME, &ts);
  return TickSecondsOf(static_cast<std::uint64_t>(ts.tv_sec) * 1000 + static_cast<std::uint64_t>(ts.tv_nsec) / 1'000'000);
}

TDateTime SystemStartTime(const TClock& clock, double secondsSinceBoot) {
  return clock.NowLocal() - secondsSinceBoot / kSecondsPerDay;
}

std::map<std::string, std::string> ParseOsRelease(std::string_view text) {
  std::map<std::string, std::string> values;
  for (const std::string_view raw : systext::SplitLines(text)) {
    const std::string_view line = systext::Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    const std::string key(line.substr(0, eq));
    if (!std::all_of(key.begin(), key.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }))
      continue;
    std::string_view raw_value = line.substr(eq + 1);
    std::string value;
    if (!raw_value.empty() && (raw_value.front() == '"' || raw_value.front() == '\'')) {
      const char quote = raw_value.front();
      std::size_t i = 1;
      bool closed = false;
      for (; i < raw_value.size(); ++i) {
        const char c = raw_value[i];
        if (c == quote) {
          closed = true;
          break;
        }
        if (c == '\\' && quote == '"' && i + 1 < raw_value.size()) value += raw_value[++i];
        else value += c;
      }
      if (!closed) continue;
    } else {
      for (std::size_t i = 0; i < raw_value.size(); ++i) {
        if (raw_value[i] == '\\' && i + 1 < raw_value.size()) value += raw_value[++i];
        else value += raw_value[i];
      }
    }
    values[key] = value;
  }
  return values;
}

TSambaGlobal ParseSambaGlobal(std::string_view text) {
  TSambaGlobal global;
  bool inGlobal = false;
  for (const std::string_view raw : systext::SplitLines(text)) {
    const std::string_view line = systext::Trim(raw);
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      inGlobal = systext::EqualsNoCase(line, "[global]");
      continue;
    }
    if (!inGlobal) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = systext::Trim(line.substr(0, eq));
    const std::string_view value = systext::Trim(line.substr(eq + 1));
    if (systext::EqualsNoCase(key, "workgroup")) global.Workgroup = value;
    else if (systext::EqualsNoCase(key, "security")) global.Security = value;
  }
  return global;
}

TSystemFacts ReadSystemFacts(const std::string& root) {
  TSystemFacts facts;
  if (auto text = systext::ReadFile(root + "/etc/os-release", 64 * 1024)) facts.OsRelease = std::move(*text);
  else if (auto lib = systext::ReadFile(root + "/usr/lib/os-release", 64 * 1024)) facts.OsRelease = std::move(*lib);
  utsname names{};
  if (uname(&names) == 0) {
    facts.SysName = names.sysname;
    facts.Release = names.release;
    facts.Machine = names.machine;
    facts.HostName = names.nodename;
  }
  if (const passwd* user = getpwuid(geteuid())) facts.UserName = user->pw_name;
  if (auto conf = systext::ReadFile(root + "/etc/samba/smb.conf", 1 << 20)) facts.SambaConf = std::move(*conf);
  struct stat info {};
  if (stat((root + "/var/log/installer").c_str(), &info) == 0) {
    facts.InstallUnixTime = static_cast<double>(info.st_mtime);
  } else {
    struct statx x {};
    if (statx(AT_FDCWD, (root + "/").c_str(), 0, STATX_BTIME, &x) == 0 && (x.stx_mask & STATX_BTIME))
      facts.InstallUnixTime = static_cast<double>(x.stx_btime.tv_sec);
  }
  return facts;
}

std::string ShortenOSName(const std::string& name) {
  using systext::ReplaceNoCase;
  std::string s = ReplaceNoCase(name, "Service Pack ", "SP");
  s = ReplaceNoCase(s, "Standard", "Std");
  s = ReplaceNoCase(s, "Professional", "Pro");
  s = ReplaceNoCase(s, "Enterprise", "Ent");
  for (const char* gone : {"Edition", "(R)", "NULL", "\xC2\xAE"}) s = ReplaceNoCase(s, gone, "");
  s = ReplaceNoCase(s, "(TM)", " ");
  s = ReplaceNoCase(s, "Microsoft", "");
  s = ReplaceNoCase(s, "Seven", "7");
  return systext::CollapseBlanks(s);
}

TStartupValues BuildStartupValues(const TSystemFacts& facts) {
  TStartupValues v;
  const auto release = ParseOsRelease(facts.OsRelease);
  const auto get = [&](const char* key) -> std::string {
    const auto it = release.find(key);
    return it == release.end() ? std::string() : it->second;
  };
  v.OSName = get("PRETTY_NAME");
  if (v.OSName.empty()) v.OSName = systext::CollapseBlanks(get("NAME") + " " + get("VERSION"));
  if (v.OSName.empty()) v.OSName = systext::CollapseBlanks(facts.SysName + " " + facts.Release);
  v.OSEdition = systext::CollapseBlanks(get("VARIANT") + " " + facts.Machine);
  v.OSNameText = ShortenOSName(v.OSName + " " + v.OSEdition);
  if (!v.ServicePackText.empty()) v.OSNameText += " SP " + v.ServicePackText;
  if (facts.InstallUnixTime && *facts.InstallUnixTime > 0) v.InstallDate = UtcToLocal(UnixToDateTime(*facts.InstallUnixTime));
  v.MachineName = systext::ToUpper(facts.HostName);
  v.UserName = facts.UserName;
  const TSambaGlobal samba = ParseSambaGlobal(facts.SambaConf);
  v.DomainMember = systext::EqualsNoCase(samba.Security, "ads") || systext::EqualsNoCase(samba.Security, "domain");
  const std::string group = systext::ToUpper(samba.Workgroup);
  if (v.DomainMember) {
    v.DomainName = group;
  } else {
    v.WorkgroupName = group;
    v.DomainName = v.MachineName;
  }
  return v;
}

std::string FormatMacAddress(std::string_view text) {
  text = systext::Trim(text);
  static const char kHex[] = "0123456789ABCDEF";
  std::string result;
  int bytes = 0;
  bool allZero = true;
  std::size_t i = 0;
  while (i < text.size()) {
    if (i + 1 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
      return {};
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10; };
    const int value = digit(text[i]) * 16 + digit(text[i + 1]);
    if (value != 0) allZero = false;
    if (bytes > 0) result += '-';
    result += kHex[value >> 4];
    result += kHex[value & 15];
    ++bytes;
    i += 2;
    if (i < text.size()) {
      if (text[i] != ':') return {};
      ++i;
      if (i == text.size()) return {};
    }
  }
  return bytes == 6 && !allZero ? result : std::string();
}

std::string GetIPAddresses() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::vector<std::string> addresses;
  for (const ifaddrs* a = list; a && addresses.size() < 256; a = a->ifa_next) {
    if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    if ((a->ifa_flags & IFF_LOOPBACK) || !(a->ifa_flags & IFF_UP)) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if (!inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) continue;
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) addresses.emplace_back(text);
  }
  freeifaddrs(list);
  std::string joined;
  for (const std::string& a : addresses) joined += (joined.empty() ? "" : ",") + a;
  return joined;
}

std::string GetMACAddresses(const std::string& root) {
  const std::string folder = root + "/sys/class/net";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return {};
  std::vector<std::pair<long, std::string>> found;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string base = folder + "/" + name + "/";
    // Type 772 is the loopback device.
    if (const auto type = systext::ReadFile(base + "type", 64); type && systext::Trim(*type) == "772") continue;
    const auto address = systext::ReadFile(base + "address", 256);
    if (!address) continue;
    std::string mac = FormatMacAddress(*address);
    if (mac.empty()) continue;
    long index = LONG_MAX;
    if (const auto text = systext::ReadFile(base + "ifindex", 64))
      if (const auto n = systext::ParseUnsigned(*text); n && *n < static_cast<std::uint64_t>(LONG_MAX)) index = static_cast<long>(*n);
    found.emplace_back(index, std::move(mac));
  }
  closedir(dir);
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string joined;
  for (const auto& [index, mac] : found) joined += (joined.empty() ? "" : ",") + mac;
  return joined;
}

TValtri_TimeZone::TValtri_TimeZone(std::string root, std::optional<std::string> tz, const TClock& clock)
    : FRoot(std::move(root)), FTZ(std::move(tz)), FClock(clock) {}

void TValtri_TimeZone::ApplyRule(const TPosixTZ& rule, const std::string& displayName) {
  FDisp = displayName;
  FBias = rule.StdOffset / 60;
  FStd = rule.StdName;
  FDay = rule.HasDst ? rule.DstName : rule.StdName;
  FDayStart = FStdStart = 0;
  FDayBias = FStdBias = 0;
  if (rule.HasDst && rule.HasRules) {
    const int year = DecodeDateTime(FClock.NowLocal()).Year;
    FDayStart = PosixTransition(rule.Start, year);
    FStdStart = PosixTransition(rule.End, year);
    FDayBias = rule.DstOffset / 60;
    FStdBias = FBias;
  }
}

void TValtri_TimeZone::RefreshData() {
  TValtri_Component::RefreshData();
  std::string name, file;
  if (FTZ && !FTZ->empty()) {
    std::string value = *FTZ;
    if (value.front() == ':') value.erase(0, 1);
    if (!value.empty() && value.front() == '/') {
      file = FRoot + value;
      name = ZoneNameFromPath(value).value_or(value);
    } else if (SafeZoneName(value)) {
      name = value;
      file = FRoot + "/usr/share/zoneinfo/" + value;
    }
    if (file.empty() || access(file.c_str(), R_OK) != 0) {
      // Not a zone file: TZ may hold the rule itself ("CET-1CEST,M3.5.0,M10.5.0/3").
      ApplyRule(ParsePosixTZ(value), value);
      FDA = true;
      return;
    }
  } else {
    file = FRoot + "/etc/localtime";
    char target[4096];
    const ssize_t n = readlink(file.c_str(), target, sizeof target - 1);
    if (n > 0) name = ZoneNameFromPath(std::string(target, static_cast<std::size_t>(n))).value_or("");
    if (name.empty())
      if (const auto text = systext::ReadFile(FRoot + "/etc/timezone", 4096))
        name = std::string(systext::Trim(systext::SplitLines(*text).empty() ? std::string_view() : systext::SplitLines(*text)[0]));
  }

  const auto bytes = file.empty() ? std::nullopt : systext::ReadFile(file, 1 << 20);
  if (!bytes) {
    // Without a zone file the C library runs on UTC; so do we.
    ApplyRule(TPosixTZ{"UTC", 0, false, {}, 0, false, {}, {}}, name.empty() ? "UTC" : name);
    FDA = true;
    return;
  }
  const TTZif zone = ParseTZif(*bytes);
  if (!zone.Footer.empty()) {
    ApplyRule(ParsePosixTZ(zone.Footer), name);
  } else {
    // Version 1 files carry no rule: the zone keeps the offset of its last transition.
    const std::size_t type = zone.TransitionTypes.empty() ? 0 : zone.TransitionTypes.back();
    const TTZifType& t = zone.Types[type];
    ApplyRule(TPosixTZ{t.Abbreviation, -t.UtOffset, false, {}, 0, false, {}, {}}, name);
  }
  FDA = true;
}

}  // namespace zentrix
