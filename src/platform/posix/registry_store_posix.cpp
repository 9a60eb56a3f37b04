// The registry on POSIX: a SQLite store with the behaviour of the Windows registry. Key
// and value names keep their case and compare without it; subkeys enumerate in the order
// of their upper-cased names, values in the order they were created; texts (types 1, 2
// and 7) are held as UTF-16, as Windows holds them, and cross the "A" functions in the
// ANSI code page. The file is $ZV_REGISTRY, else $XDG_DATA_HOME/zivoviviruvov/registry.db,
// read when a call opens the store and created by the first write. It runs in WAL mode
// with full syncs, and each write call is one transaction: concurrent processes and a
// process killed mid-write leave it whole, with every write that had returned.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/posix/xdg_posix.h"
#include "platform/registry.h"
#include "runtime/ansi.h"
#include "runtime/text.h"

namespace zv::platform::reg {

namespace {

constexpr int kMaxDepth = 512;       // levels below a root, as Windows allows
constexpr size_t kMaxKeyName = 255;  // characters of one key name
constexpr int kBusyMilliseconds = 30000;

const char kSchema[] =
    "CREATE TABLE IF NOT EXISTS keys(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL, folded TEXT NOT NULL, depth INTEGER NOT NULL,"
    " UNIQUE(parent, folded));"
    "CREATE TABLE IF NOT EXISTS vals(key INTEGER NOT NULL, seq INTEGER NOT NULL,"
    " name TEXT NOT NULL, folded TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " PRIMARY KEY(key, folded));"
    "CREATE INDEX IF NOT EXISTS vals_order ON vals(key, seq);";

std::string storePath() {
  const char* named = std::getenv("ZV_REGISTRY");
  if (named && *named) return named;
  return posix::dataHome() + "/zivoviviruvov/registry.db";
}

// One connection to the store file.
class Store {
 public:
  ~Store() { sqlite3_close_v2(db_); }

  // The store as it is now: nullptr and kSuccess when there is none yet and `create` is
  // false (an empty registry); an error when the file is unusable.
  static std::shared_ptr<Store> open(bool create, int32_t& status) {
    status = kSuccess;
    const std::string path = storePath();
    const bool exists = ::access(path.c_str(), F_OK) == 0;
    if (!exists && !create) return nullptr;
    if (!exists) {
      const size_t slash = path.find_last_of('/');
      if (slash != std::string::npos && slash > 0) posix::makeFolders(path.substr(0, slash), 0700);
    }
    auto store = std::shared_ptr<Store>(new Store);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (store->connect(path, flags) && (status = store->prepare()) == kSuccess) return store;
    // A store this process may only read, in a folder where it cannot make the WAL's
    // shared-memory file: read as it stands on disk.
    if (exists && !store->writable_ &&
        store->connect("file:" + posix::percentEncode(path) + "?immutable=1",
                       SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX))
      status = store->prepare();
    else if (!store->db_)
      status = exists ? kCorrupt : kAccessDenied;
    return status == kSuccess ? store : nullptr;
  }

  bool writable() const { return writable_; }
  // A readable file without our tables (an empty file opened read-only): no keys.
  bool empty() const { return empty_; }
  sqlite3* db() const { return db_; }

 private:
  Store() = default;

  bool connect(const std::string& name, int flags) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    writable_ = false;
    if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
      sqlite3_close_v2(db_);
      db_ = nullptr;
      return false;
    }
    sqlite3_busy_timeout(db_, kBusyMilliseconds);
    writable_ = !sqlite3_db_readonly(db_, "main");
    return true;
  }

  int32_t prepare() {
    if (writable_) {
      // A store that cannot take the schema (a folder or disk that refuses writes) is read.
      if (exec("PRAGMA journal_mode=WAL") == SQLITE_NOTADB) return kCorrupt;
      exec("PRAGMA synchronous=FULL");
      if (exec(kSchema) != SQLITE_OK) writable_ = false;
    }
    sqlite3_stmt* check = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master WHERE name IN ('keys','vals')",
                           -1, &check, nullptr);
    int tables = 0;
    const int step = rc == SQLITE_OK ? sqlite3_step(check) : rc;
    if (step == SQLITE_ROW) tables = sqlite3_column_int(check, 0);
    sqlite3_finalize(check);
    if (step != SQLITE_ROW) return kCorrupt;
    empty_ = tables != 2;
    return empty_ && writable_ ? kCorrupt : kSuccess;
  }

  int exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

  sqlite3* db_ = nullptr;
  bool writable_ = false;
  bool empty_ = false;
};

// A prepared statement, finalized when it goes.
class Statement {
 public:
  Statement(const Store& store, const char* sql) {
    ok_ = sqlite3_prepare_v2(store.db(), sql, -1, &stmt_, nullptr) == SQLITE_OK;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int i, int64_t v) {
    ok_ = ok_ && sqlite3_bind_int64(stmt_, i, v) == SQLITE_OK;
    return *this;
  }
  Statement& bind(int i, const std::string& v) {
    ok_ = ok_ && sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()),
                                   SQLITE_TRANSIENT) == SQLITE_OK;
    return *this;
  }
  Statement& bindBlob(int i, const std::string& v) {
    ok_ = ok_ && sqlite3_bind_blob(stmt_, i, v.data(), static_cast<int>(v.size()),
                                   SQLITE_TRANSIENT) == SQLITE_OK;
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error.
  int step() { return ok_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string text(int column) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = false;
};

// One write call's transaction: committed by commit(), rolled back otherwise.
class Transaction {
 public:
  explicit Transaction(const Store& store) : store_(store) {
    begun_ = sqlite3_exec(store.db(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~Transaction() {
    if (begun_) sqlite3_exec(store_.db(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool begun() const { return begun_; }
  bool commit() {
    begun_ = false;
    return sqlite3_exec(store_.db(), "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  }

 private:
  const Store& store_;
  bool begun_ = false;
};

// Names: ANSI bytes at the functions, UTF-8 in the store, upper-cased for comparison.
std::string stored(std::string_view ansi) {
  return toUtf8(fromAnsi(ansi));
}
std::string folded(std::string_view ansi) {
  return toUtf8(ucase(fromAnsi(ansi)));
}
std::string ansiOf(const std::string& utf8) {
  return toAnsi(fromUtf8(utf8));
}

// The parts of a key path; empty parts ("a\\b", a final "\") are skipped, as Windows does.
std::vector<std::string_view> parts(std::string_view path) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) out.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// The roots are keys -1 to -4 of every store.
int64_t rootId(Key key) {
  for (int32_t i = 0; i < 4; ++i)
    if (key == rootKey(kClassesRoot + i)) return -1 - i;
  return 0;
}

struct Handle {
  std::shared_ptr<Store> store;  // nullptr while the registry is empty
  int64_t id = 0;
  uint32_t access = 0;
};

std::mutex gMutex;
std::map<Key, Handle> gHandles;
Key gNextHandle = 0x1000;

// The store and key behind `key`: a root opens the store for this call.
int32_t resolve(Key key, bool forWriting, Handle& out) {
  if (const int64_t root = rootId(key)) {
    int32_t status = kSuccess;
    out = Handle{Store::open(forWriting, status), root, kAllAccess};
    return status;
  }
  std::lock_guard lock(gMutex);
  const auto found = gHandles.find(key);
  if (found == gHandles.end()) return kInvalidHandle;
  out = found->second;
  if (forWriting && !out.store) {
    int32_t status = kSuccess;
    out.store = Store::open(true, status);
    if (status != kSuccess) return status;
    found->second.store = out.store;
  }
  return kSuccess;
}

Key newHandle(Handle handle) {
  std::lock_guard lock(gMutex);
  gNextHandle += 4;
  gHandles.emplace(gNextHandle, std::move(handle));
  return gNextHandle;
}

bool readable(const Handle& h) {
  return h.store && !h.store->empty();
}

// The subkey `name` of key `parent`, 0 when absent.
int64_t child(const Store& store, int64_t parent, std::string_view name) {
  Statement s(store, "SELECT id FROM keys WHERE parent=?1 AND folded=?2");
  s.bind(1, parent).bind(2, folded(name));
  return s.step() == SQLITE_ROW ? s.integer(0) : 0;
}

int64_t depthOf(const Store& store, int64_t id) {
  if (id < 0) return 0;
  Statement s(store, "SELECT depth FROM keys WHERE id=?1");
  s.bind(1, id);
  return s.step() == SQLITE_ROW ? s.integer(0) : -1;
}

// A value's data as the "A" functions give it, into the caller's buffer.
int32_t deliver(uint32_t type, const std::string& held, Buffer* data, uint32_t& size) {
  const std::string bytes = isTextType(type) ? ansiBytes(held) : held;
  size = static_cast<uint32_t>(bytes.size());
  if (!data) return kSuccess;
  if (bytes.size() > data->size()) return kMoreData;
  std::memcpy(data->data(), bytes.data(), bytes.size());
  // A text that does not end in NUL gets one when there is room, as Windows does.
  if (isTextType(type) && bytes.size() < data->size() && (bytes.empty() || bytes.back() != '\0'))
    (*data)[bytes.size()] = '\0';
  return kSuccess;
}

int32_t writeFailure(int rc) {
  return rc == SQLITE_READONLY || rc == SQLITE_PERM || rc == SQLITE_AUTH ? kAccessDenied : kCorrupt;
}

}  // namespace

int32_t openKey(Key parent, std::string_view subKey, uint32_t access, Key& key) {
  Handle h;
  if (const int32_t status = resolve(parent, false, h)) return status;
  const auto names = parts(subKey);
  if (!names.empty() && !readable(h)) return kFileNotFound;
  for (const std::string_view name : names)
    if ((h.id = child(*h.store, h.id, name)) == 0) return kFileNotFound;
  h.access = access;
  key = newHandle(std::move(h));
  return kSuccess;
}

int32_t createKey(Key parent, std::string_view subKey, Key& key) {
  Handle h;
  if (const int32_t status = resolve(parent, true, h)) return status;
  if (!h.store->writable() || !(h.access & kCreateSubKey)) return kAccessDenied;
  const auto names = parts(subKey);
  for (const std::string_view name : names)
    if (fromAnsi(name).size() > kMaxKeyName) return kInvalidParameter;
  Transaction transaction(*h.store);
  if (!transaction.begun()) return kAccessDenied;
  int64_t depth = depthOf(*h.store, h.id);
  if (depth < 0) return kKeyDeleted;
  if (depth + static_cast<int64_t>(names.size()) > kMaxDepth) return kInvalidParameter;
  for (const std::string_view name : names) {
    int64_t id = child(*h.store, h.id, name);
    if (id == 0) {
      Statement insert(*h.store,
                       "INSERT INTO keys(parent, name, folded, depth) VALUES(?1, ?2, ?3, ?4)");
      insert.bind(1, h.id).bind(2, stored(name)).bind(3, folded(name)).bind(4, depth + 1);
      if (const int rc = insert.step(); rc != SQLITE_DONE) return writeFailure(rc);
      id = sqlite3_last_insert_rowid(h.store->db());
    }
    h.id = id;
    ++depth;
  }
  if (!transaction.commit()) return kCorrupt;
  h.access = kAllAccess;
  key = newHandle(std::move(h));
  return kSuccess;
}

int32_t closeKey(Key key) {
  if (rootId(key)) return kSuccess;
  std::lock_guard lock(gMutex);
  return gHandles.erase(key) ? kSuccess : kInvalidHandle;
}

// Every write call commits with a full sync: nothing is left to flush.
int32_t flushKey(Key key) {
  if (rootId(key)) return kSuccess;
  std::lock_guard lock(gMutex);
  return gHandles.count(key) ? kSuccess : kInvalidHandle;
}

int32_t queryValue(Key key, std::string_view name, uint32_t& type, Buffer* data, uint32_t& size) {
  Handle h;
  if (const int32_t status = resolve(key, false, h)) return status;
  if (!(h.access & kQueryValue)) return kAccessDenied;
  if (!readable(h)) return kFileNotFound;
  Statement s(*h.store, "SELECT type, data FROM vals WHERE key=?1 AND folded=?2");
  s.bind(1, h.id).bind(2, folded(name));
  if (s.step() != SQLITE_ROW) return kFileNotFound;
  type = static_cast<uint32_t>(s.integer(0));
  return deliver(type, s.text(1), data, size);
}

int32_t setValue(Key key, std::string_view name, uint32_t type, std::string_view data) {
  Handle h;
  if (const int32_t status = resolve(key, true, h)) return status;
  if (!h.store->writable() || !(h.access & kSetValue)) return kAccessDenied;
  // One statement: the value takes the next place unless it exists, and only while its
  // key does (another process may have deleted it).
  Statement s(
      *h.store,
      "INSERT INTO vals(key, seq, name, folded, type, data)"
      " SELECT ?1, (SELECT COALESCE(MAX(seq), 0) + 1 FROM vals WHERE key=?1), ?2, ?3, ?4, ?5"
      " WHERE ?1 < 0 OR EXISTS(SELECT 1 FROM keys WHERE id=?1)"
      " ON CONFLICT(key, folded) DO UPDATE SET type=excluded.type, data=excluded.data");
  s.bind(1, h.id).bind(2, stored(name)).bind(3, folded(name)).bind(4, static_cast<int64_t>(type));
  // A text handed over without its terminating NUL gets one, as NT adds it.
  std::string bytes(data);
  if (isTextType(type) && !bytes.empty() && bytes.back() != '\0') bytes += '\0';
  s.bindBlob(5, isTextType(type) ? unicodeBytes(bytes) : bytes);
  if (const int rc = s.step(); rc != SQLITE_DONE) return writeFailure(rc);
  return sqlite3_changes(h.store->db()) ? kSuccess : kKeyDeleted;
}

int32_t deleteValue(Key key, std::string_view name) {
  Handle h;
  if (const int32_t status = resolve(key, false, h)) return status;
  if (!(h.access & kSetValue)) return kAccessDenied;
  if (!readable(h)) return kFileNotFound;
  if (!h.store->writable()) return kAccessDenied;
  Statement s(*h.store, "DELETE FROM vals WHERE key=?1 AND folded=?2");
  s.bind(1, h.id).bind(2, folded(name));
  if (const int rc = s.step(); rc != SQLITE_DONE) return writeFailure(rc);
  return sqlite3_changes(h.store->db()) ? kSuccess : kFileNotFound;
}

int32_t enumValue(Key key, uint32_t index, uint32_t nameCapacity, std::string& name, uint32_t& type,
                  Buffer* data, uint32_t& size) {
  Handle h;
  if (const int32_t status = resolve(key, false, h)) return status;
  if (!(h.access & kQueryValue)) return kAccessDenied;
  if (!readable(h)) return kNoMoreItems;
  Statement s(*h.store,
              "SELECT name, type, data FROM vals WHERE key=?1 ORDER BY seq LIMIT 1 OFFSET ?2");
  s.bind(1, h.id).bind(2, static_cast<int64_t>(index));
  if (s.step() != SQLITE_ROW) return kNoMoreItems;
  const std::string ansi = ansiOf(s.text(0));
  if (ansi.size() + 1 > nameCapacity) return kMoreData;
  name = ansi;
  type = static_cast<uint32_t>(s.integer(1));
  return deliver(type, s.text(2), data, size);
}

int32_t enumKey(Key key, uint32_t index, uint32_t nameCapacity, std::string& name) {
  Handle h;
  if (const int32_t status = resolve(key, false, h)) return status;
  if (!(h.access & kEnumerateSubKeys)) return kAccessDenied;
  if (!readable(h)) return kNoMoreItems;
  Statement s(*h.store, "SELECT name FROM keys WHERE parent=?1 ORDER BY folded LIMIT 1 OFFSET ?2");
  s.bind(1, h.id).bind(2, static_cast<int64_t>(index));
  if (s.step() != SQLITE_ROW) return kNoMoreItems;
  const std::string ansi = ansiOf(s.text(0));
  if (ansi.size() + 1 > nameCapacity) return kMoreData;
  name = ansi;
  return kSuccess;
}

int32_t deleteTree(Key parent, std::string_view subKey) {
  Key key = 0;
  if (const int32_t status = openKey(parent, subKey, kAllAccess, key)) return status;
  Handle h;
  resolve(key, false, h);
  closeKey(key);
  if (h.id < 0 || !h.store->writable()) return kAccessDenied;
  Transaction transaction(*h.store);
  if (!transaction.begun()) return kAccessDenied;
  const char* tree =
      "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL"
      " SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) ";
  Statement values(*h.store, (std::string(tree) + "DELETE FROM vals WHERE key IN tree").c_str());
  Statement keys(*h.store, (std::string(tree) + "DELETE FROM keys WHERE id IN tree").c_str());
  if (values.bind(1, h.id).step() != SQLITE_DONE || keys.bind(1, h.id).step() != SQLITE_DONE)
    return kCorrupt;
  return transaction.commit() ? kSuccess : kCorrupt;
}

}  // namespace zv::platform::reg
