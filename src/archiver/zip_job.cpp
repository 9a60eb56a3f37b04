#include "archiver/zip_job.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "archiver/container/dos_time.h"
#include "archiver/container/writer.h"
#include "archiver/messages.h"
#include "archiver/os/os.h"
#include "archiver/paths.h"
#include "archiver/text.h"
#include "archiver/wildcard.h"

namespace zv::archiver {

namespace {

// Info-ZIP zip exit codes.
enum : int {
  kOk = 0,
  kFormat = 3,
  kAbort = 9,
  kTemp = 10,
  kNothing = 12,
  kNoArchive = 13,
  kWrite = 14,
  kCreate = 15,
  kParams = 16,
  kOpen = 18,
};

constexpr uint32_t kDosVolumeLabel = 0x08;

// A run stopped with an exit code and the message that says why.
struct Stop {
  int code;
  std::string message;
};

struct Candidate {
  std::string path;  // on disk; "" for the volume label
  std::string name;  // entry name
  os::FileStatus status;
};

// What the new archive holds, in order: old entries kept, old entries replaced by a file,
// and new files.
struct Step {
  std::optional<size_t> oldIndex;
  const Candidate* file = nullptr;
};

std::string ansiText(std::string_view utf8) {
  return os::toAnsi(utf8);
}

class ZipJob {
 public:
  ZipJob(const ZipSettings& settings, const ZIPUSERFUNCTIONS& callbacks, std::string archive)
      : settings_(settings),
        callbacks_(callbacks),
        messages_(callbacks.print),
        shownName_(std::move(archive)),
        archivePath_(resolve(shownName_)) {}

  int run(const std::vector<std::string>& specs) {
    try {
      if (shownName_.empty())
        throw Stop{kParams, "zip error: Invalid command arguments (no zip file name)"};
      openOld();
      return settings_.deleteEntries ? deleteEntries(specs) : addFiles(specs);
    } catch (const Stop& stop) {
      if (!stop.message.empty()) messages_.say(stop.message);
      return stop.code;
    }
  }

 private:
  std::string resolve(const std::string& path) const {
    if (settings_.rootFolder.empty() || os::isAbsolute(path)) return path;
    return joinPath(settings_.rootFolder, path);
  }

  void info(const std::string& text) const {
    if (!settings_.quiet) messages_.say(text);
  }
  void warn(const std::string& text) const { messages_.say("zip warning: " + text); }

  void openOld() {
    const auto st = os::status(archivePath_);
    if (!st) return;
    if (!st->regular)
      throw Stop{kCreate, "zip error: Could not create output file (" + shownName_ + ")"};
    try {
      old_ = std::make_unique<ZipReader>(archivePath_);
    } catch (const ArchiveError&) {
      throw Stop{kFormat, "zip error: Zip file structure invalid (" + shownName_ + ")"};
    }
    archiveReal_ = os::realPath(archivePath_).value_or(archivePath_);
  }

  // ------------------------------------------------------------------ delete

  int deleteEntries(const std::vector<std::string>& specs) {
    if (!old_) throw Stop{kNoArchive, "zip error: Zip file not found (" + shownName_ + ")"};
    const auto& entries = old_->entries();
    std::vector<bool> gone(entries.size(), false);
    for (const std::string& fileSpec : specs) {
      bool matched = false;
      for (size_t i = 0; i < entries.size(); ++i) {
        if (!matchesEntry(fileSpec, entries[i].name)) continue;
        matched = true;
        gone[i] = true;
      }
      if (!matched) warn("name not matched: " + fileSpec);
    }
    std::vector<Step> steps;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (gone[i])
        info("deleting: " + entries[i].name);
      else
        steps.push_back({i, nullptr});
    }
    if (steps.size() == entries.size())
      throw Stop{kNothing, "zip error: Nothing to do! (" + shownName_ + ")"};
    if (steps.empty()) warn("zip file empty");
    return write(steps);
  }

  // A pattern names an entry, and a folder's name its folder entry and, with recursion,
  // everything inside it.
  bool matchesEntry(const std::string& fileSpec, const std::string& name) const {
    const std::string pattern = entryNameOf(fileSpec);
    const bool fold = os::caseInsensitiveNames();
    if (wildcardMatch(pattern, name, fold) || wildcardMatch(pattern + "/", name, fold)) return true;
    return settings_.recurse && wildcardMatch(pattern + "/*", name, fold);
  }

  // --------------------------------------------------------------------- add

  int addFiles(const std::vector<std::string>& specs) {
    if (settings_.storeVolumeLabel) {
      const std::string label =
          os::volumeLabel(settings_.rootFolder.empty() ? "." : settings_.rootFolder);
      if (!label.empty()) {
        Candidate c{"", label, {}};
        c.status.modified = std::time(nullptr);
        c.status.dosAttributes = kDosVolumeLabel;
        addCandidate(std::move(c));
      }
    }
    for (const std::string& fileSpec : specs)
      if (!fileSpec.empty()) collect(fileSpec);
    std::map<std::string, size_t> oldByName;
    if (old_)
      for (size_t i = 0; i < old_->entries().size(); ++i)
        oldByName.emplace(nameKey(old_->entries()[i].name), i);
    std::map<size_t, const Candidate*> replaced;
    std::vector<const Candidate*> added;
    for (const Candidate& c : candidates_) {
      auto found = oldByName.find(nameKey(c.name));
      if (found == oldByName.end()) {
        if (!settings_.freshen) added.push_back(&c);
      } else if (!(settings_.update || settings_.freshen) ||
                 dosTimeOf(c.status.modified) > old_->entries()[found->second].dosTime) {
        replaced.emplace(found->second, &c);
      }
    }
    if (replaced.empty() && added.empty()) {
      if (candidates_.empty())
        throw Stop{kNothing, "zip error: Nothing to do! (" + shownName_ + ")"};
      throw Stop{kNothing, ""};
    }
    std::vector<Step> steps;
    if (old_)
      for (size_t i = 0; i < old_->entries().size(); ++i) {
        auto r = replaced.find(i);
        steps.push_back({i, r == replaced.end() ? nullptr : r->second});
      }
    for (const Candidate* c : added)
      steps.push_back({std::nullopt, c});
    const int code = write(steps);
    return code == kOk && unreadable_ ? kOpen : code;
  }

  std::string nameKey(const std::string& name) const {
    if (!os::caseInsensitiveNames()) return name;
    std::string key = name;
    for (char& c : key)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return key;
  }

  void collect(const std::string& fileSpec) {
    const std::string last = lastPartOf(fileSpec);
    if (hasWildcards(last)) {
      if (!matchIn(folderOf(fileSpec), last)) warn("name not matched: " + fileSpec);
      return;
    }
    const std::string path = resolve(fileSpec);
    const auto st = os::status(path);
    if (!st) {
      warn("name not matched: " + fileSpec);
      return;
    }
    addPath(fileSpec, path, *st, true);
  }

  // Files of `folder` matching `pattern`; with recursion 2, in its subfolders too.
  bool matchIn(const std::string& folder, const std::string& pattern) {
    const std::string path = resolve(folder.empty() ? "." : folder);
    bool any = false;
    for (const std::string& name : sortedNames(path)) {
      const std::string shown = folder.empty() ? name : folder + "/" + name;
      const std::string childPath = joinPath(path, name);
      const auto st = os::status(childPath);
      if (!st || (st->hidden && !settings_.includeHidden)) continue;
      if (wildcardMatch(pattern, name, os::caseInsensitiveNames())) {
        any = true;
        addPath(shown, childPath, *st, false);
      } else if (settings_.recurse == 2 && st->directory && enterFolder(childPath)) {
        any = matchIn(shown, pattern) || any;
      }
    }
    return any;
  }

  void addPath(const std::string& shown, const std::string& path, const os::FileStatus& st,
               bool named) {
    if (!named && st.hidden && !settings_.includeHidden) return;
    if (st.regular) {
      if (isArchiveItself(path)) return;
      addCandidate({path, settings_.dropFolderNames ? lastPartOf(shown) : entryNameOf(shown), st});
    } else if (st.directory) {
      const std::string name = entryNameOf(shown);
      if (!settings_.noFolderEntries && !settings_.dropFolderNames && !name.empty())
        addCandidate({path, name + (name.back() == '/' ? "" : "/"), st});
      if (settings_.recurse && enterFolder(path))
        for (const std::string& child : sortedNames(path)) {
          const std::string childPath = joinPath(path, child);
          if (const auto cs = os::status(childPath))
            addPath(joinPath(shown, child), childPath, *cs, false);
        }
    } else {
      warn("ignoring special file: " + shown);
    }
  }

  // Each folder is walked once, so that links back up the tree end the walk.
  bool enterFolder(const std::string& path) {
    return visited_.insert(os::realPath(path).value_or(path)).second;
  }

  static std::vector<std::string> sortedNames(const std::string& folder) {
    std::vector<std::string> names = os::listDirectory(folder);
    std::sort(names.begin(), names.end());
    return names;
  }

  bool isArchiveItself(const std::string& path) const {
    if (archiveReal_.empty() || lastPartOf(path) != lastPartOf(archiveReal_)) return false;
    return os::realPath(path).value_or(path) == archiveReal_;
  }

  void addCandidate(Candidate c) {
    c.name = forwardSlashes(c.name);
    if (c.name.empty() || !names_.insert(nameKey(c.name)).second) return;
    candidates_.push_back(std::move(c));
  }

  // ------------------------------------------------------------------- write

  int write(const std::vector<Step>& steps) {
    std::string folder =
        settings_.tempFolder.empty() ? folderOf(archivePath_) : settings_.tempFolder;
    if (folder.empty()) folder = ".";
    std::string tempPath;
    std::FILE* handle = os::createUniqueFile(folder, tempPath);
    if (!handle) throw Stop{kTemp, "zip error: Temporary file failure (" + folder + ")"};
    os::File out(handle, tempPath);
    try {
      ZipWriter writer(out);
      for (const Step& step : steps) {
        if (!step.file) {
          writer.copy(*old_, *step.oldIndex);
        } else if (!writeFile(writer, *step.file, step.oldIndex.has_value()) && step.oldIndex) {
          writer.copy(*old_, *step.oldIndex);
        }
      }
      writer.finish(comment());
      out.close();
      if (settings_.verbose) {
        uint64_t in = 0, packed = 0;
        for (const Entry& e : writer.written()) {
          in += e.size;
          packed += e.packedSize;
        }
        info("total bytes=" + std::to_string(in) + ", compressed=" + std::to_string(packed) +
             " -> " + std::to_string(savedPercent(in, packed)) + "% savings");
      }
    } catch (const Stop&) {
      discard(out, tempPath);
      throw;
    } catch (const ArchiveError&) {
      discard(out, tempPath);
      throw Stop{kFormat, "zip error: Zip file structure invalid (" + shownName_ + ")"};
    } catch (const os::IoError& e) {
      discard(out, tempPath);
      throw Stop{kWrite, std::string("zip I/O error: ") + e.what()};
    }
    old_.reset();
    if (!os::replaceFile(tempPath, archivePath_)) {
      os::removeFile(tempPath);
      throw Stop{kCreate, "zip error: Could not create output file (" + shownName_ + ")"};
    }
    return kOk;
  }

  static void discard(os::File& out, const std::string& path) {
    out = os::File();
    os::removeFile(path);
  }

  // Writes one file or empty entry; false when the file could not be read.
  bool writeFile(ZipWriter& writer, const Candidate& c, bool replacing) {
    if (callbacks_.service) {
      std::string name = ansiText(c.name);
      if (callbacks_.service(name.c_str(), static_cast<uint32_t>(name.size())) != 0)
        throw Stop{kAbort, "zip error: Interrupted (aborting)"};
    }
    Entry e = entryFor(c);
    const std::string action = settings_.freshen ? "freshening: "
                               : replacing       ? "updating: "
                                                 : "  adding: ";
    if (!c.status.regular) {
      writer.addEmpty(e);
      info(action + c.name + " (stored 0%)");
      return true;
    }
    os::File source = os::File::open(c.path);
    if (!source) {
      warn("could not open for reading: " + c.name);
      unreadable_ = true;
      return false;
    }
    AddOptions options;
    options.level = settings_.level;
    options.lineEnds = settings_.lineEnds;
    if (settings_.encrypt) options.password = &password();
    const Entry& written = writer.addFile(std::move(e), source, options);
    const std::string result =
        written.method == kMethodStored
            ? "stored 0%"
            : "deflated " + std::to_string(savedPercent(written.size, written.packedSize)) + "%";
    if (settings_.verbose)
      info(action + c.name + "\t(in=" + std::to_string(written.size) +
           ") (out=" + std::to_string(written.packedSize) + ") (" + result + ")");
    else
      info(action + c.name + " (" + result + ")");
    return true;
  }

  Entry entryFor(const Candidate& c) const {
    Entry e;
    e.name = c.name;
    e.modified = c.status.modified;
    e.dosTime = dosTimeOf(c.status.modified);
    const bool unix = c.status.unixMode != 0;
    e.versionMadeBy = static_cast<uint16_t>(((unix ? kHostUnix : kHostDos) << 8) | 30);
    e.externalAttributes = (unix ? c.status.unixMode << 16 : 0) | c.status.dosAttributes;
    return e;
  }

  // The password, asked once per run: as the callback gives it, in ANSI bytes.
  const std::string& password() {
    if (password_) return *password_;
    char buffer[256] = {};
    std::string name = ansiText(shownName_);
    if (!callbacks_.password ||
        callbacks_.password(buffer, sizeof buffer - 1, "Enter password: ", name.c_str()) != 0 ||
        buffer[0] == '\0')
      throw Stop{kParams, "zip error: Invalid command arguments (no password given)"};
    password_ = std::string(buffer);
    return *password_;
  }

  std::string comment() const {
    std::string kept = old_ ? old_->comment() : std::string();
    if (!settings_.askComment || !callbacks_.comment) return kept;
    std::vector<char> buffer(kMax16 + 1, '\0');
    std::copy(kept.begin(), kept.end(), buffer.begin());
    const char* given = callbacks_.comment(buffer.data());
    return given ? std::string(given, strnlen(given, kMax16)) : kept;
  }

  const ZipSettings& settings_;
  const ZIPUSERFUNCTIONS& callbacks_;
  Messages messages_;
  std::string shownName_;
  std::string archivePath_;
  std::string archiveReal_;
  std::unique_ptr<ZipReader> old_;
  std::vector<Candidate> candidates_;
  std::set<std::string> names_;
  std::set<std::string> visited_;
  std::optional<std::string> password_;
  bool unreadable_ = false;
};

bool flag(ZvBool value) {
  return value != 0;
}

std::string text(const char* ansi) {
  return ansi ? os::fromAnsi(ansi) : std::string();
}

}  // namespace

ZipSettings zipSettingsOf(const ZPOPT& o) {
  ZipSettings s;
  s.rootFolder = text(o.szRootDir);
  if (flag(o.fTemp)) s.tempFolder = text(o.szTempDir);
  s.encrypt = flag(o.fEncrypt);
  s.includeHidden = flag(o.fSystem);
  s.storeVolumeLabel = flag(o.fVolume);
  s.noFolderEntries = flag(o.fNoDirEntries);
  s.verbose = flag(o.fVerbose);
  s.quiet = flag(o.fQuiet);
  s.lineEnds = flag(o.fCRLF_LF)   ? LineEnds::ToLf
               : flag(o.fLF_CRLF) ? LineEnds::ToCrLf
                                  : LineEnds::Keep;
  s.dropFolderNames = flag(o.fJunkDir);
  s.deleteEntries = flag(o.fDeleteEntries);
  s.update = flag(o.fUpdate);
  s.freshen = flag(o.fFreshen);
  s.askComment = flag(o.fComment);
  s.recurse = o.fRecurse;
  s.level = o.fLevel >= '0' && o.fLevel <= '9' ? o.fLevel - '0' : 6;
  return s;
}

int runZip(const ZipSettings& settings, const ZIPUSERFUNCTIONS& callbacks,
           const std::string& archive, const std::vector<std::string>& specs) {
  return ZipJob(settings, callbacks, archive).run(specs);
}

}  // namespace zv::archiver
