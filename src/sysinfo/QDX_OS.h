#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Clock.h"
#include "core/DateTime.h"
#include "sysinfo/QDX_Common.h"
#include "sysinfo/TZif.h"

namespace zentrix {

// Milliseconds since boot as the 32-bit tick counter holds them (wrapping after about 49.7
// days), in seconds.
double TickSecondsOf(std::uint64_t millisecondsSinceBoot);
// The same for this machine (CLOCK_BOOTTIME, which keeps counting through suspend).
double TickSeconds();
// Seconds since boot, unwrapped.
double SecondsSinceBoot();
// Local date-time of the system start. Uses the unwrapped time since boot: the wrapped tick
// counter would move the start forward by 49.7 days at a time.
TDateTime SystemStartTime(const TClock& clock, double secondsSinceBoot);

// KEY=VALUE lines of an os-release file, with quotes and backslash escapes removed.
std::map<std::string, std::string> ParseOsRelease(std::string_view text);

// The [global] workgroup and security settings of a Samba configuration: the machine's
// workgroup or domain on the LAN.
struct TSambaGlobal {
  std::string Workgroup;
  std::string Security;  // "ads" or "domain" for a domain member
};
TSambaGlobal ParseSambaGlobal(std::string_view text);

// What the start-up values are made from; gathered once by ReadSystemFacts.
struct TSystemFacts {
  std::string OsRelease;  // text of /etc/os-release (or /usr/lib/os-release)
  std::string SysName, Release, Machine;  // uname
  std::string HostName;
  std::string UserName;
  std::string SambaConf;  // text of /etc/samba/smb.conf, empty without Samba
  std::optional<double> InstallUnixTime;
};

TSystemFacts ReadSystemFacts(const std::string& root = {});

// "Microsoft Windows 7 Professional Edition Service Pack 1" -> "Windows 7 Pro SP1".
std::string ShortenOSName(const std::string& name);

// The values read once when the program starts. On Linux:
//   OSName      PRETTY_NAME of os-release, else NAME and VERSION, else uname's system and release
//   OSEdition   os-release's VARIANT and the machine's architecture (uname -m)
//   ServicePackText  empty: Linux distributions have no service packs
//   InstallDate when the installer left its logs (/var/log/installer), else when the root file
//               system was created; 0 when neither is known
//   MachineName the host name in upper case
//   DomainName  Samba's workgroup when the machine is a domain member (security ads or
//               domain), else MachineName; WorkgroupName the workgroup otherwise
struct TStartupValues {
  std::string OSName;
  std::string OSEdition;
  std::string ServicePackText;
  std::string OSNameText;
  TDateTime InstallDate = 0;
  std::string MachineName;
  std::string UserName;
  std::string DomainName;
  std::string WorkgroupName;
  bool DomainMember = false;
};

TStartupValues BuildStartupValues(const TSystemFacts& facts);

// A MAC address from /sys/class/net/IF/address ("02:42:ac:11:00:02") written
// "02-42-AC-11-00-02"; empty for an address that is not six bytes or is all zeros.
std::string FormatMacAddress(std::string_view text);

// The IPv4 addresses of the interfaces that are up, loopback left out, joined by ",".
std::string GetIPAddresses();
// The hardware addresses of the network interfaces under root + /sys/class/net (loopback and
// addressless interfaces left out), in interface-index order, joined by ",".
std::string GetMACAddresses(const std::string& root = {});

// The time zone of the machine: display name is the zone's name (Europe/Prague), the standard
// and daylight names and rules come from the POSIX rule at the end of its TZif file. Biases
// are minutes to add to local time to get UTC.
class TValtri_TimeZone : public TValtri_Component {
public:
  // tz: the TZ environment value, if any (empty counts as unset). Without it the zone is
  // /etc/localtime under root.
  explicit TValtri_TimeZone(std::string root = {}, std::optional<std::string> tz = std::nullopt,
                            const TClock& clock = SystemClock());

  void RefreshData() override;  // raises ETimeZone for a damaged zone file
  void Clear() override {}

  std::int32_t StandardBias() const { return FStdBias; }
  std::int32_t DaylightBias() const { return FDayBias; }
  std::int32_t Bias() const { return FBias; }
  const std::string& DisplayName() const { return FDisp; }
  const std::string& StandardName() const { return FStd; }
  const std::string& DaylightName() const { return FDay; }
  TDateTime DaylightStart() const { return FDayStart; }
  TDateTime StandardStart() const { return FStdStart; }

  // Fills the fields from a rule; the zone's name is the display name.
  void ApplyRule(const TPosixTZ& rule, const std::string& displayName);

private:
  std::string FRoot;
  std::optional<std::string> FTZ;
  const TClock& FClock;
  std::int32_t FStdBias = 0, FDayBias = 0, FBias = 0;
  std::string FDisp, FStd, FDay;
  TDateTime FDayStart = 0, FStdStart = 0;
};

}  // namespace zentrix
