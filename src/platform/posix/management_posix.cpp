// The management classes of the system report, answered on POSIX from /proc, /sys, uname,
// the account database and the network interfaces, with WMI's property names and forms
// (memory in KB where WMI gives KB, dates as CIM datetimes). What Linux does not know
// (a BIOS language, a drive's transfer rate) is Null, as WMI leaves it.
#include <dirent.h>
#include <grp.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cmath>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>

#include "platform/locale.h"
#include "platform/management.h"
#include "platform/posix/mounts_posix.h"
#include "platform/system_info.h"
#include "runtime/text.h"

namespace zv::platform {

namespace {

using Objects = std::vector<ManagedObject>;

std::string firstLine(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

String text(const std::string& utf8) {
  return fromUtf8(utf8);
}
String number(long long value) {
  return fromUtf8(std::to_string(value));
}

// /proc/meminfo in KB.
std::map<std::string, long long> memoryInfo() {
  std::map<std::string, long long> info;
  std::ifstream in("/proc/meminfo");
  std::string name;
  long long value = 0;
  std::string unit;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    if (fields >> name >> value) info[name.substr(0, name.size() - 1)] = value;
  }
  return info;
}

std::string osRelease(const std::string& key) {
  std::ifstream in("/etc/os-release");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + "=", 0) != 0) continue;
    std::string value = line.substr(key.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::string();
}

std::string dmi(const char* name) {
  return firstLine(std::string("/sys/class/dmi/id/") + name);
}

// A CIM datetime: "yyyymmddHHMMSS.000000+UUU", the offset in minutes from UTC.
String cimDate(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S.000000", &local);
  const long minutes = local.tm_gmtoff / 60;
  char offset[24];
  std::snprintf(offset, sizeof offset, "%c%03ld", minutes < 0 ? '-' : '+', std::labs(minutes));
  return text(std::string(stamp) + offset);
}

std::time_t bootTime() {
  struct sysinfo info {};
  return ::sysinfo(&info) == 0 ? std::time(nullptr) - info.uptime : 0;
}

String hostName() {
  return computerName();
}

Objects operatingSystem() {
  auto memory = memoryInfo();
  utsname names{};
  ::uname(&names);
  ManagedObject os;
  os.set(u"Name", text(osRelease("PRETTY_NAME")));
  os.set(u"Version", text(names.release));
  os.set(u"Manufacturer", text(osRelease("NAME")));
  os.set(u"WindowsDirectory", windowsFolder());
  char locale[8];
  std::snprintf(locale, sizeof locale, "%04x", static_cast<unsigned>(userLcid()));
  os.set(u"Locale", text(locale));
  os.set(u"FreePhysicalMemory", number(memory["MemAvailable"]));
  os.set(u"TotalVirtualMemorySize", number(memory["MemTotal"] + memory["SwapTotal"]));
  os.set(u"FreeVirtualMemory", number(memory["MemAvailable"] + memory["SwapFree"]));
  os.set(u"SizeStoredInPagingFiles", number(memory["SwapTotal"]));
  return {os};
}

Objects computerSystem() {
  std::tm local{};
  const std::time_t now = std::time(nullptr);
  ::localtime_r(&now, &local);
  ManagedObject computer;
  computer.set(u"Name", hostName());
  computer.set(u"Manufacturer", text(dmi("sys_vendor")));
  computer.set(u"Model", text(dmi("product_name")));
  computer.set(u"CurrentTimeZone", number(local.tm_gmtoff / 60));
  computer.set(u"TotalPhysicalMemory", number(memoryInfo()["MemTotal"] * 1024));
  return {computer};
}

// One object per physical processor package.
Objects processors() {
  std::map<std::string, std::map<std::string, std::string>> packages;
  std::ifstream in("/proc/cpuinfo");
  std::map<std::string, std::string> current;
  auto flush = [&] {
    if (!current.empty()) packages.emplace(current["physical id"], current);
    current.clear();
  };
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) {
      flush();
      continue;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = line.substr(0, colon);
    key.erase(key.find_last_not_of(" \t") + 1);
    current[key] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
  }
  flush();
  const std::string maxKHz = firstLine("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
  Objects result;
  for (auto& [id, cpu] : packages) {
    const long mhz = std::lround(std::atof(cpu["cpu MHz"].c_str()));
    ManagedObject processor;
    processor.set(u"Description",
                  text(cpu.count("model name") ? cpu["model name"] : cpu["Processor"]));
    processor.set(u"CurrentClockSpeed", number(mhz));
    processor.set(u"MaxClockSpeed",
                  number(maxKHz.empty() ? mhz : std::atol(maxKHz.c_str()) / 1000));
    result.push_back(std::move(processor));
  }
  return result;
}

Objects bios() {
  const std::string date = dmi("bios_date");  // mm/dd/yyyy
  String release;
  if (date.size() == 10)
    release = text(date.substr(6, 4) + date.substr(0, 2) + date.substr(3, 2) + "000000.000000+000");
  ManagedObject bios;
  bios.set(u"Name", text(dmi("bios_version")));
  bios.set(u"Manufacturer", text(dmi("bios_vendor")));
  bios.set(u"Version", text(dmi("bios_version")));
  bios.set(u"SerialNumber", text(dmi("product_serial")));
  bios.set(u"ReleaseDate", release);
  bios.set(u"CurrentLanguage", String());
  return {bios};
}

template <class Visit>
void forEachEntry(const std::string& folder, Visit visit) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get()))
    if (entry->d_name[0] != '.') visit(std::string(entry->d_name));
}

Objects processes() {
  Objects result;
  forEachEntry("/proc", [&](const std::string& pid) {
    if (pid.find_first_not_of("0123456789") != std::string::npos) return;
    const std::string name = firstLine("/proc/" + pid + "/comm");
    if (name.empty()) return;
    long long handles = 0;
    forEachEntry("/proc/" + pid + "/fd", [&](const std::string&) { ++handles; });
    ManagedObject process;
    process.set(u"Name", text(name));
    process.set(u"Handle", text(pid));
    process.set(u"HandleCount", number(handles));
    result.push_back(std::move(process));
  });
  return result;
}

Objects memoryConfiguration() {
  ManagedObject memory;
  memory.set(u"Name", u"LogicalMemoryConfiguration");
  memory.set(u"Description", u"Logical Memory Configuration");
  memory.set(u"TotalPhysicalMemory", number(memoryInfo()["MemTotal"]));
  return {memory};
}

Objects cdromDrives() {
  Objects result;
  forEachEntry("/sys/block", [&](const std::string& device) {
    if (device.rfind("sr", 0) != 0) return;
    const std::string folder = "/sys/block/" + device;
    const std::string vendor = firstLine(folder + "/device/vendor");
    const long long sectors = std::atoll(firstLine(folder + "/size").c_str());
    ManagedObject drive;
    drive.set(u"Name", text(vendor + " " + firstLine(folder + "/device/model")));
    drive.set(u"MediaType", u"CD-ROM");
    drive.set(u"Manufacturer", text(vendor));
    drive.set(u"Description", u"CD-ROM Drive");
    drive.set(u"VolumeName", String());
    drive.set(u"VolumeSerialNumber", String());
    drive.set(u"DefaultBlockSize", text(firstLine(folder + "/queue/logical_block_size")));
    drive.set(u"Size", sectors > 0 ? number(sectors * 512) : String());
    drive.set(u"TransferRate", String());
    drive.set(u"Drive", text("/dev/" + device));
    drive.set(u"DeviceID", text(device));
    result.push_back(std::move(drive));
  });
  return result;
}

// The network file systems mounted, as the connections to remote resources.
Objects networkConnections() {
  Objects result;
  for (const posix::Mount& mount : posix::mounts()) {
    if (!posix::isNetworkFileSystem(mount.fileSystem)) continue;
    ManagedObject connection;
    connection.set(u"Name", text(mount.source));
    connection.set(u"LocalName", text(mount.mountPoint));
    connection.set(u"Username", String());
    connection.set(u"DisplayType", u"Share");
    connection.set(u"Description", text(mount.fileSystem));
    connection.set(u"ConnectionState", u"Connected");
    connection.set(u"ProviderName", text(mount.fileSystem));
    connection.set(u"RemoteName", text(mount.source));
    connection.set(u"RemotePath", text(mount.source));
    connection.set(u"ResourceType", u"Disk");
    connection.set(u"comment", String());
    result.push_back(std::move(connection));
  }
  return result;
}

// The interfaces' addresses, numeric, by interface name.
std::map<std::string, std::string> interfaceAddresses() {
  std::map<std::string, std::string> addresses;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return addresses;
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!a->ifa_addr || (a->ifa_addr->sa_family != AF_INET && a->ifa_addr->sa_family != AF_INET6))
      continue;
    char host[NI_MAXHOST];
    const socklen_t size =
        a->ifa_addr->sa_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
    if (::getnameinfo(a->ifa_addr, size, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0)
      continue;
    std::string& joined = addresses[a->ifa_name];
    joined += (joined.empty() ? "" : ", ") + std::string(host);
  }
  ::freeifaddrs(list);
  return addresses;
}

Objects networkAdapters() {
  const auto addresses = interfaceAddresses();
  const String lastReset = cimDate(bootTime());
  Objects result;
  forEachEntry("/sys/class/net", [&](const std::string& name) {
    const std::string folder = "/sys/class/net/" + name;
    const std::string type = firstLine(folder + "/type");  // ARPHRD_*: 1 Ethernet, 772 loopback
    std::string mac = firstLine(folder + "/address");
    for (char& c : mac)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const long speed = std::atol(firstLine(folder + "/speed").c_str());
    char driver[256] = {};
    const ssize_t length =
        ::readlink((folder + "/device/driver").c_str(), driver, sizeof driver - 1);
    const std::string service =
        length > 0 ? std::string(driver).substr(std::string(driver).find_last_of('/') + 1) : "";
    const auto found = addresses.find(name);
    ManagedObject adapter;
    adapter.set(u"AdapterType", type == "1"     ? u"Ethernet 802.3"
                                : type == "772" ? u"Loopback"
                                                : text(type));
    adapter.set(u"Name", text(name));
    adapter.set(u"Availability", firstLine(folder + "/operstate") == "down" ? u"8" : u"3");
    adapter.set(u"Description", text(name));
    adapter.set(u"MACAddress", text(mac));
    adapter.set(u"NetworkAddresses", found == addresses.end() ? String() : text(found->second));
    adapter.set(u"PermanentAddress", String());
    adapter.set(u"Manufacturer", String());
    adapter.set(u"MaxNumberControlled", String());
    adapter.set(u"ProductName", text(name));
    adapter.set(u"ServiceName", text(service));
    adapter.set(u"Speed", speed > 0 ? number(static_cast<long long>(speed) * 1000000) : String());
    adapter.set(u"TimeOfLastReset", lastReset);
    result.push_back(std::move(adapter));
  });
  return result;
}

// Users, then groups, with the SIDs Samba gives Unix accounts (S-1-22-1-uid, S-1-22-2-gid).
// The account database has one enumeration (and one entry buffer) per process: one thread
// walks it at a time.
Objects accounts() {
  const String domain = hostName();
  Objects result;
  static std::mutex walking;
  std::lock_guard lock(walking);
  ::setpwent();
  while (const passwd* user = ::getpwent()) {
    ManagedObject account;
    account.set(u"Name", text(user->pw_name));
    account.set(u"Description", text(user->pw_gecos ? user->pw_gecos : ""));
    account.set(u"Domain", domain);
    account.set(u"SID", text("S-1-22-1-" + std::to_string(user->pw_uid)));
    result.push_back(std::move(account));
  }
  ::endpwent();
  ::setgrent();
  while (const group* g = ::getgrent()) {
    ManagedObject account;
    account.set(u"Name", text(g->gr_name));
    account.set(u"Description", String());
    account.set(u"Domain", domain);
    account.set(u"SID", text("S-1-22-2-" + std::to_string(g->gr_gid)));
    result.push_back(std::move(account));
  }
  ::endgrent();
  return result;
}

}  // namespace

std::optional<std::vector<ManagedObject>> queryManagement(const String& className) {
  static const std::pair<const char16_t*, Objects (*)()> kClasses[] = {
      {u"Win32_OperatingSystem", operatingSystem},
      {u"Win32_ComputerSystem", computerSystem},
      {u"Win32_Processor", processors},
      {u"Win32_BIOS", bios},
      {u"Win32_Process", processes},
      {u"Win32_LogicalMemoryConfiguration", memoryConfiguration},
      {u"Win32_CDROMDrive", cdromDrives},
      {u"Win32_NetworkConnection", networkConnections},
      {u"Win32_NetworkAdapter", networkAdapters},
      {u"Win32_Account", accounts}};
  for (const auto& [name, query] : kClasses)
    if (equalsNoCase(name, className)) return query();
  return std::nullopt;
}

}  // namespace zv::platform
