#include "archiver/unzip_job.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "archiver/container/dos_time.h"
#include "archiver/container/line_ends.h"
#include "archiver/container/reader.h"
#include "archiver/messages.h"
#include "archiver/os/os.h"
#include "archiver/paths.h"
#include "archiver/text.h"
#include "archiver/wildcard.h"

namespace zv::archiver {

namespace {

// Info-ZIP unzip exit codes.
enum : int {
  kOk = 0,
  kWarning = 1,
  kError = 2,
  kParameters = 10,
  kNoMatch = 11,
  kDiskFull = 50,
  kStopped = 80,
};

constexpr uint64_t kMaxRatio = 1000;
constexpr size_t kMaxLinkTarget = 4096;

#ifdef _WIN32
constexpr LineEnds kNativeLineEnds = LineEnds::ToCrLf;
#else
constexpr LineEnds kNativeLineEnds = LineEnds::ToLf;
#endif

uint32_t clamp32(uint64_t value) {
  return static_cast<uint32_t>(std::min<uint64_t>(value, kMax32));
}

// More than 1000 bytes out for each byte in: a zip bomb, or close enough to one.
bool tooCompressed(const Entry& e) {
  if (e.packedSize == 0) return e.size > 0;
  return e.size / e.packedSize > kMaxRatio ||
         (e.size / e.packedSize == kMaxRatio && e.size % e.packedSize > 0);
}

class UnzipJob {
 public:
  UnzipJob(const UnzipSettings& settings, USERFUNCTIONS& callbacks)
      : settings_(settings), callbacks_(callbacks), messages_(callbacks.print) {}

  int run(const std::vector<std::string>& includes, const std::vector<std::string>& excludes) {
    if (settings_.archive.empty()) return kParameters;
    if (!settings_.list) info("Archive:  " + settings_.archive);
    try {
      reader_ = std::make_unique<ZipReader>(settings_.archive);
      int result = select(includes, excludes);
      if (selected_.empty() && !includes.empty()) return kNoMatch;
      if (settings_.list) return list();
      reader_->checkLayout();
      return std::max(result, settings_.test ? testAll() : extractAll());
    } catch (const ArchiveError& e) {
      problem(std::string("error:  ") + e.what());
      return e.code;
    } catch (const os::IoError& e) {
      problem(std::string("error:  ") + e.what());
      return kError;
    }
  }

 private:
  void info(const std::string& text) const {
    if (settings_.quiet == 0) messages_.say(text);
  }
  void problem(const std::string& text) const {
    if (settings_.quiet < 2) messages_.say(text);
  }
  int skip(const std::string& name, const std::string& why) {
    problem("   skipping: " + name + "  " + why);
    return kWarning;
  }

  int select(const std::vector<std::string>& includes, const std::vector<std::string>& excludes) {
    const auto matches = [&](const std::string& pattern, const std::string& name) {
      return wildcardMatch(forwardSlashes(pattern), name, settings_.ignoreCase);
    };
    std::vector<bool> used(includes.size(), false);
    const auto& entries = reader_->entries();
    for (size_t i = 0; i < entries.size(); ++i) {
      bool wanted = includes.empty();
      for (size_t k = 0; k < includes.size(); ++k)
        if (matches(includes[k], entries[i].name)) wanted = used[k] = true;
      for (const std::string& pattern : excludes)
        wanted = wanted && !matches(pattern, entries[i].name);
      if (wanted) selected_.push_back(i);
    }
    int result = kOk;
    for (size_t k = 0; k < includes.size(); ++k)
      if (!used[k]) {
        problem("caution: filename not matched:  " + includes[k]);
        result = kNoMatch;
      }
    return result;
  }

  // --------------------------------------------------------------------- list

  int list() {
    uint64_t size = 0, packed = 0;
    for (size_t i : selected_) {
      const Entry& e = reader_->entries()[i];
      size += e.size;
      packed += e.packedSize;
      if (!callbacks_.SendApplicationMessage) continue;
      const DosParts t = splitDosTime(e.dosTime);
      const std::string name = os::toAnsi(e.name);
      const std::string method = methodName(e);
      callbacks_.SendApplicationMessage(clamp32(e.packedSize), clamp32(e.size),
                                        packedPercent(e.size, e.packedSize), t.month, t.day, t.year,
                                        t.hour, t.minute, ' ', name.c_str(), method.c_str(), e.crc,
                                        e.encrypted() ? 'E' : ' ');
    }
    callbacks_.TotalSize = clamp32(size);
    callbacks_.TotalSizeComp = clamp32(packed);
    callbacks_.CompFactor = packedPercent(size, packed);
    callbacks_.NumMembers = clamp32(selected_.size());
    return kOk;
  }

  static uint32_t packedPercent(uint64_t size, uint64_t packed) {
    if (size == 0) return 0;
    return static_cast<uint32_t>(std::llround(static_cast<long double>(packed) * 100 / size));
  }

  // Asks the service callback whether to go on with `e`; false when the caller stops.
  bool goOn(const Entry& e) const {
    if (!callbacks_.ServCallBk) return true;
    const std::string name = os::toAnsi(e.name);
    return callbacks_.ServCallBk(name.c_str(), static_cast<uint32_t>(name.size())) == 0;
  }

  // --------------------------------------------------------------------- test

  int testAll() {
    int result = kOk;
    bool damaged = false;
    for (size_t i : selected_) {
      const Entry& e = reader_->entries()[i];
      if (!goOn(e)) return kStopped;
      try {
        EntryReader data(*reader_, i);
        if (!unlock(data, e)) {
          result = std::max(result, skip(e.name, "incorrect password"));
          continue;
        }
        while (!data.next().empty()) {
        }
        info("    testing: " + e.name + "   OK");
      } catch (const EntryError& x) {
        problem("    testing: " + e.name + "   " + x.what());
        damaged = true;
      }
    }
    if (damaged) {
      problem("At least one error was detected in " + settings_.archive + ".");
      return std::max<int>(result, kError);
    }
    info("No errors detected in compressed data of " + settings_.archive + ".");
    return result;
  }

  // ------------------------------------------------------------------ extract

  int extractAll() {
    root_ = settings_.folder.empty() ? std::string(".") : settings_.folder;
    if (!makeRoot()) {
      problem("checkdir error:  cannot create extraction directory: " + root_);
      return kError;
    }
    rootReal_ = os::realPath(root_).value_or(root_);
    int result = kOk;
    for (size_t i : selected_) {
      if (!goOn(reader_->entries()[i])) return kStopped;
      result = std::max(result, extract(i));
      if (result == kDiskFull) break;
    }
    return result;
  }

  // The extraction folder is the caller's to choose: every missing folder on its way is made.
  bool makeRoot() {
    for (size_t at = 1; at <= root_.size(); ++at) {
      if (at < root_.size() && root_[at] != '/' && root_[at] != '\\') continue;
      const std::string prefix = root_.substr(0, at);
      if (!os::status(prefix)) os::makeDirectory(prefix);
    }
    const auto st = os::status(root_);
    return st && st->directory;
  }

  bool inside(const std::string& real) const {
    std::string base = rootReal_;
    std::string path = real;
    if (os::caseInsensitiveNames()) {
      for (std::string* s : {&base, &path})
        std::transform(s->begin(), s->end(), s->begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    }
    if (path == base) return true;
    if (!base.empty() && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    return path.size() > base.size() && path.compare(0, base.size(), base) == 0 &&
           (path[base.size()] == '/' || path[base.size()] == '\\');
  }

  std::string pathOf(const std::vector<std::string>& parts, size_t count) const {
    std::string path = root_;
    for (size_t k = 0; k < count; ++k)
      path = joinPath(path, parts[k]);
    return path;
  }

  // Makes the first `count` folders of `parts`; each that exists must be a folder or a
  // link to one inside the extraction folder. What stands in the way, or "".
  std::string makeFolders(const std::vector<std::string>& parts, size_t count) const {
    for (size_t k = 1; k <= count; ++k) {
      const std::string path = pathOf(parts, k);
      const auto st = os::status(path, false);
      if (!st) {
        if (!os::makeDirectory(path)) return "cannot create folder " + path;
      } else if (st->symlink) {
        const auto real = os::realPath(path);
        if (!real || !inside(*real)) return "path leads outside the extraction folder";
        const auto target = os::status(path);
        if (!target || !target->directory) return "a file is in the way: " + path;
      } else if (!st->directory) {
        return "a file is in the way: " + path;
      }
    }
    return {};
  }

  int extract(size_t index) {
    const Entry& e = reader_->entries()[index];
    auto safe = safeParts(e.name);
    if (!safe) return skip(e.name, "path leads outside the extraction folder");
    std::vector<std::string> parts = std::move(*safe);
    if (!settings_.keepFolders) {
      if (e.isDirectory()) return kOk;
      parts = {parts.back()};
    }
    if (settings_.spacesToUnderscores)
      for (std::string& part : parts)
        std::replace(part.begin(), part.end(), ' ', '_');
    const std::string inTheWay = makeFolders(parts, parts.size() - (e.isDirectory() ? 0 : 1));
    if (!inTheWay.empty()) return skip(e.name, inTheWay);
    if (e.isDirectory()) {
      info("   creating: " + e.name);
      return kOk;
    }
    const std::string target = pathOf(parts, parts.size());
    if (const auto existing = os::status(target, false)) {
      if (existing->directory) return skip(e.name, "a folder of that name exists");
      if (!mayReplace(e, *existing, target)) return kOk;
    } else if (settings_.freshen) {
      return kOk;
    }
    if (tooCompressed(e)) return skip(e.name, "compression ratio above 1000:1 (possible zip bomb)");
    if (e.size > os::freeSpace(folderOf(target)))
      return skip(e.name, "not enough free space (" + std::to_string(e.size) + " bytes needed)");
    try {
      EntryReader data(*reader_, index);
      if (!unlock(data, e)) return skip(e.name, "incorrect password");
      if (e.isSymlink()) return link(e, data, parts, target);
      return write(e, data, target);
    } catch (const UnsupportedMethod& x) {
      return skip(e.name, x.what());
    } catch (const EntryError& x) {
      problem("  error:  " + e.name + "  " + x.what());
      return kError;
    }
  }

  bool mayReplace(const Entry& e, const os::FileStatus& existing, const std::string& target) {
    if (settings_.overwrite) return true;
    if (settings_.onlyNewer || settings_.freshen) return e.dosTime > dosTimeOf(existing.modified);
    if (overwriteAll_) return true;
    if (overwriteNone_ || !settings_.promptToOverwrite || !callbacks_.replace) return false;
    std::string name = os::toAnsi(target);
    name.resize(name.size() + 1 + 260, '\0');
    switch (callbacks_.replace(name.data())) {
      case kReplaceYes:
        return true;
      case kReplaceAll:
        overwriteAll_ = true;
        return true;
      case kReplaceNone:
        overwriteNone_ = true;
        return false;
      default:
        return false;
    }
  }

  // Checks the password of an encrypted entry: the last one that worked, else the caller's
  // answers (three tries; a refusal ends the asking for the rest of the run).
  bool unlock(EntryReader& data, const Entry& e) {
    if (!data.needsPassword()) return true;
    if (password_ && data.usePassword(*password_)) return true;
    const std::string name = os::toAnsi(e.name);
    for (int attempt = 0; attempt < 3 && !noMorePasswords_; ++attempt) {
      char buffer[256] = {};
      if (!callbacks_.password ||
          callbacks_.password(buffer, sizeof buffer - 1, "Enter password: ", name.c_str()) != 0) {
        noMorePasswords_ = true;
        break;
      }
      const std::string given(buffer);
      if (data.usePassword(given)) {
        password_ = given;
        return true;
      }
    }
    return false;
  }

  int write(const Entry& e, EntryReader& data, const std::string& target) {
    std::string tempPath;
    std::FILE* handle = os::createUniqueFile(folderOf(target), tempPath);
    if (!handle) {
      problem("  error:  cannot create " + target);
      return kError;
    }
    os::File out(handle, tempPath);
    info((e.method == kMethodStored ? " extracting: " : "  inflating: ") + e.name);
    const bool convert = settings_.nativeLineEnds && (e.internalAttributes & kInternalText);
    LineEndConverter converter(kNativeLineEnds);
    try {
      for (std::string_view chunk; !(chunk = data.next()).empty();) {
        if (convert)
          out.write(
              converter.convert(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size()));
        else
          out.write(chunk.data(), chunk.size());
      }
      out.write(converter.end());
      out.close();
    } catch (const EntryError&) {
      discard(out, tempPath);
      throw;
    } catch (const os::IoError&) {
      discard(out, tempPath);
      problem("  error:  " + e.name + "  write error (disk full?)");
      return kDiskFull;
    }
    if (!os::replaceFile(tempPath, target)) {
      os::removeFile(tempPath);
      problem("  error:  cannot create " + target);
      return kError;
    }
    finishFile(e, target);
    return kOk;
  }

  static void discard(os::File& out, const std::string& path) {
    out = os::File();
    os::removeFile(path);
  }

  void finishFile(const Entry& e, const std::string& target) const {
    os::setModified(target, e.modified.value_or(secondsOf(e.dosTime)));
    const bool dosHost = e.host() == kHostDos || e.host() == kHostNtfs;
    os::setPermissions(target, e.unixMode(), dosHost ? e.externalAttributes & 0xFF : 0);
  }

  // A symbolic link is made only when it leads to a place inside the extraction folder;
  // where the system makes none, the file holds the link's text.
  int link(const Entry& e, EntryReader& data, const std::vector<std::string>& parts,
           const std::string& target) {
    std::string destination;
    for (std::string_view chunk; !(chunk = data.next()).empty();) {
      destination.append(chunk);
      if (destination.size() > kMaxLinkTarget) return skip(e.name, "symbolic link too long");
    }
    if (!linkDestination(parts, destination))
      return skip(e.name, "symbolic link leads outside the extraction folder");
    os::removeFile(target);
    if (os::makeSymlink(destination, target)) {
      info("    linking: " + e.name + "  -> " + destination);
      return kOk;
    }
    std::string tempPath;
    std::FILE* handle = os::createUniqueFile(folderOf(target), tempPath);
    os::File out(handle, tempPath);
    try {
      if (!handle) throw os::IoError("cannot create " + target);
      out.write(destination);
      out.close();
    } catch (const os::IoError&) {
      if (handle) discard(out, tempPath);
      problem("  error:  cannot create " + target);
      return kError;
    }
    if (!os::replaceFile(tempPath, target)) {
      os::removeFile(tempPath);
      problem("  error:  cannot create " + target);
      return kError;
    }
    info(" extracting: " + e.name);
    finishFile(e, target);
    return kOk;
  }

  const UnzipSettings& settings_;
  USERFUNCTIONS& callbacks_;
  Messages messages_;
  std::unique_ptr<ZipReader> reader_;
  std::vector<size_t> selected_;
  std::string root_;
  std::string rootReal_;
  std::optional<std::string> password_;
  bool noMorePasswords_ = false;
  bool overwriteAll_ = false;
  bool overwriteNone_ = false;
};

std::string text(const char* ansi) {
  return ansi ? os::fromAnsi(ansi) : std::string();
}

}  // namespace

UnzipSettings unzipSettingsOf(const DCL& o) {
  UnzipSettings s;
  s.archive = text(o.lpszZipFN);
  s.folder = text(o.lpszExtractDir);
  s.list = o.nvflag != 0;
  s.test = o.ntflag != 0;
  s.onlyNewer = o.ExtractOnlyNewer != 0;
  s.freshen = o.nfflag != 0;
  s.overwrite = o.noflag != 0;
  s.promptToOverwrite = o.PromptToOverwrite != 0;
  s.keepFolders = o.ndflag != 0;
  s.spacesToUnderscores = o.SpaceToUnderscore != 0;
  s.nativeLineEnds = o.naflag != 0;
  s.ignoreCase = o.C_flag != 0;
  s.quiet = o.fQuiet;
  return s;
}

int runUnzip(const UnzipSettings& settings, USERFUNCTIONS& callbacks,
             const std::vector<std::string>& includes, const std::vector<std::string>& excludes) {
  return UnzipJob(settings, callbacks).run(includes, excludes);
}

}  // namespace zv::archiver
