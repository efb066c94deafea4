// The profile store: the INI text format with its escapes, a stat-checked cache, and crash-safe saving.
#include "platform/profile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "platform/window.h"

namespace platform {

namespace {

constexpr size_t kMaxProfileBytes = size_t{16} << 20;  // more than this is not a profile; the rest is unread
constexpr const char* kFileName = "profile.ini";
constexpr const char* kHeader =
    "; Saved settings and records. In names and values \\\\ \\n \\r \\t and \\xHH stand for a backslash and\n"
    "; control bytes, \\s for a space at either end, and in names \\= \\[ \\] \\; \\# for those characters.\n";

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// --- escapes ---

void Escape(std::string_view in, bool name, std::string* out) {
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    switch (b) {
      case '\\': *out += "\\\\"; continue;
      case '\n': *out += "\\n"; continue;
      case '\r': *out += "\\r"; continue;
      case '\t': *out += "\\t"; continue;
      default: break;
    }
    if (b < 0x20 || b == 0x7F) {
      *out += "\\x";
      *out += kHex[b >> 4];
      *out += kHex[b & 15];
    } else if (b == ' ' && (i == 0 || i + 1 == in.size())) {
      *out += "\\s";  // a space at either end would read as layout
    } else if (name && (b == '=' || b == '[' || b == ']' || b == ';' || b == '#')) {
      *out += '\\';
      *out += static_cast<char>(b);
    } else {
      *out += static_cast<char>(b);
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// False for a bad escape or a raw control byte (the writer escapes all of them except tabs).
bool Unescape(std::string_view in, std::string* out) {
  out->clear();
  for (size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b != '\\') {
      if ((b < 0x20 && b != '\t') || b == 0x7F) return false;
      *out += static_cast<char>(b);
      continue;
    }
    if (++i >= in.size()) return false;
    switch (in[i]) {
      case '\\': *out += '\\'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 's': *out += ' '; break;
      case '=': case '[': case ']': case ';': case '#': *out += in[i]; break;
      case 'x': {
        if (i + 2 >= in.size()) return false;
        const int hi = HexDigit(in[i + 1]), lo = HexDigit(in[i + 2]);
        if (hi < 0 || lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

// Skips the raw blanks (spaces, tabs) at both ends; escaped ones are data and stay.
std::string_view TrimLayout(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  // A backslash left at the end by this (it stood before a blank) is a bad escape that Unescape refuses.
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The first `stop` character that is not escaped; npos when there is none.
size_t FindUnescaped(std::string_view s, char stop) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\') {
      ++i;
      continue;
    }
    if (s[i] == stop) return i;
  }
  return std::string_view::npos;
}

// --- where the profile lives ---

struct Place {
  std::string company;
};

Place& Where() {
  static Place place;
  return place;
}

std::string Component(const std::string& name) {
  std::string out = name;
  for (char& c : out) {
    if (c == '/' || c == '\0') c = '_';
  }
  if (out == "." || out == "..") out = "_";
  return out;
}

std::string DataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  std::string base = (home != nullptr && home[0] == '/') ? home : "";
  if (base.empty()) {
    struct passwd pw {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &pw, buffer, sizeof(buffer), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
      base = found->pw_dir;
    }
  }
  return base.empty() ? "" : base + "/.local/share";
}

// --- reading, with a cache that is used while neither file has changed ---

struct Stamp {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtimeNs = 0;
  int64_t ctimeNs = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
  struct stat st {};
  Stamp s;
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.ctimeNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return s;
}

// Reads at most kMaxProfileBytes. False (with errno) when the file exists but cannot be read.
bool ReadWhole(const std::string& path, std::string* out) {
  out->clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  while (out->size() < kMaxProfileBytes) {
    const size_t want = std::min(sizeof(buffer), kMaxProfileBytes - out->size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out->append(buffer, static_cast<size_t>(n));
  }
  const int saved = errno;
  ::close(fd);
  errno = saved;
  return ok;
}

struct Cache {
  bool valid = false;
  std::string path;
  Stamp main;
  Stamp backup;
  bool mainDamaged = false;  // the main file could not be read whole
  ProfileData data;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

std::function<StepOutcome(ProfileWriteStep)>& Hook() {
  static std::function<StepOutcome(ProfileWriteStep)> hook;
  return hook;
}

std::set<std::string>& Reported() {
  static std::set<std::string> reported;
  return reported;
}

// Says a thing on standard error once until a save succeeds again.
void ReportOnce(const std::string& line) {
  if (!Reported().insert(line).second) return;
  std::fprintf(stderr, "brushfeather: %s\n", line.c_str());
}

// The profile as saved: the main file as far as it is sound; what a damaged or unreadable main file lost
// is filled in from the backup; with no main file, the backup (a save that stopped between its renames).
const ProfileData& Load(const std::string& path) {
  Cache& cache = TheCache();
  const std::string backupPath = path + ".bak";
  const Stamp main = StampOf(path);
  const Stamp backup = StampOf(backupPath);
  if (cache.valid && cache.path == path && cache.main == main && cache.backup == backup) return cache.data;
  cache = Cache{};
  cache.path = path;
  cache.main = main;
  cache.backup = backup;
  bool useBackup = false;
  if (main.exists) {
    std::string text;
    if (!ReadWhole(path, &text)) {
      ReportOnce("cannot read the profile " + path + " (" + std::strerror(errno) + "); using its backup");
      useBackup = true;
      cache.mainDamaged = true;
    } else {
      const ProfileReadResult r = ParseProfile(text, &cache.data);
      if (!r.Sound()) {
        ReportOnce("the profile " + path + " is damaged at line " + std::to_string(r.damagedLine) +
                   "; what comes before it is used, its backup fills in the rest, and the next save keeps it as " +
                   path + ".damaged");
        useBackup = true;
        cache.mainDamaged = true;
      }
    }
  } else if (backup.exists) {
    ReportOnce("the profile " + path + " is missing; using its backup");
    useBackup = true;
  }
  if (useBackup && backup.exists) {
    std::string text;
    ProfileData old;
    if (ReadWhole(backupPath, &text)) ParseProfile(text, &old);
    for (const ProfileSection& s : old.Sections()) {
      for (const ProfileEntry& e : s.entries) cache.data.Add(s.name, e.name, e.value);
    }
  }
  cache.valid = true;
  return cache.data;
}

// --- saving ---

const char* StepWords(ProfileWriteStep step) {
  switch (step) {
    case ProfileWriteStep::MakeFolder: return "making its folder";
    case ProfileWriteStep::OpenTemporary: return "creating the temporary file";
    case ProfileWriteStep::WriteFirstHalf:
    case ProfileWriteStep::WriteSecondHalf: return "writing the temporary file";
    case ProfileWriteStep::SyncTemporary: return "flushing the temporary file";
    case ProfileWriteStep::CloseTemporary: return "closing the temporary file";
    case ProfileWriteStep::KeepBackup: return "keeping the previous file as backup";
    case ProfileWriteStep::Replace: return "putting the new file in place";
    case ProfileWriteStep::SyncFolder: return "flushing the folder";
  }
  return "saving";
}

enum class StepResult { Done, Failed, Crashed };

// Runs one step through the test hook: Fail makes it fail with `failErrno`.
template <typename Action>
StepResult Step(ProfileWriteStep step, int failErrno, Action&& action) {
  StepOutcome outcome = StepOutcome::Proceed;
  if (Hook()) outcome = Hook()(step);
  if (outcome == StepOutcome::Crash) return StepResult::Crashed;
  if (outcome == StepOutcome::Fail) {
    errno = failErrno;
    return StepResult::Failed;
  }
  return action() ? StepResult::Done : StepResult::Failed;
}

bool MakeFolders(const std::string& dir) {
  // Each missing level is made private to the user, as the data folders are meant to be.
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    const std::string part = slash == std::string::npos ? dir : dir.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Keeps the main file's bytes as profile.ini.damaged: what comes after the damage cannot be read, but
// a save would otherwise lose it for good two saves later, when it has passed through the backup.
void KeepDamaged(const std::string& path) {
  const std::string kept = path + ".damaged";
  ::unlink(kept.c_str());
  if (::link(path.c_str(), kept.c_str()) != 0) {
    ReportOnce("cannot keep the damaged profile " + path + " as " + kept + " (" + std::strerror(errno) + ")");
  }
}

bool Save(const std::string& path, const ProfileData& data, bool mainDamaged) {
  const std::string dir = path.substr(0, path.rfind('/'));
  const std::string temporary = path + ".tmp";
  const std::string backupPath = path + ".bak";
  const std::string text = FormatProfile(data);
  const size_t half = text.size() / 2;
  int fd = -1;
  bool movedToBackup = false;
  ProfileWriteStep at = ProfileWriteStep::MakeFolder;
  StepResult r = StepResult::Done;

  auto fail = [&]() {
    const int err = errno;
    if (fd >= 0) ::close(fd);
    ::unlink(temporary.c_str());
    if (movedToBackup) ::rename(backupPath.c_str(), path.c_str());  // the old file goes back in place
    ReportOnce("cannot save the profile " + path + " (" + std::strerror(err) + " while " + StepWords(at) +
               "); the saved profile is unchanged");
    return false;
  };
  auto run = [&](ProfileWriteStep step, int failErrno, auto&& action) {
    at = step;
    r = Step(step, failErrno, action);
    return r == StepResult::Done;
  };

  if (!run(ProfileWriteStep::MakeFolder, EROFS, [&] { return MakeFolders(dir); })) {
    return r == StepResult::Crashed ? false : fail();
  }
  if (!run(ProfileWriteStep::OpenTemporary, EROFS, [&] {
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return fd >= 0;
      })) {
    return r == StepResult::Crashed ? false : fail();
  }
  if (!run(ProfileWriteStep::WriteFirstHalf, ENOSPC, [&] { return WriteAll(fd, text.data(), half); }) ||
      !run(ProfileWriteStep::WriteSecondHalf, ENOSPC,
           [&] { return WriteAll(fd, text.data() + half, text.size() - half); }) ||
      !run(ProfileWriteStep::SyncTemporary, EIO, [&] { return ::fsync(fd) == 0; })) {
    if (r == StepResult::Crashed) {
      ::close(fd);  // a dead program's descriptors close; its half-written file stays
      return false;
    }
    return fail();
  }
  if (!run(ProfileWriteStep::CloseTemporary, EIO, [&] {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
      })) {
    if (r == StepResult::Crashed) ::close(fd);
    return r == StepResult::Crashed ? false : fail();
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (mainDamaged) KeepDamaged(path);
    if (!run(ProfileWriteStep::KeepBackup, EIO, [&] { return ::rename(path.c_str(), backupPath.c_str()) == 0; })) {
      return r == StepResult::Crashed ? false : fail();
    }
    movedToBackup = true;
  }
  if (!run(ProfileWriteStep::Replace, EIO, [&] { return ::rename(temporary.c_str(), path.c_str()) == 0; })) {
    return r == StepResult::Crashed ? false : fail();
  }
  if (!run(ProfileWriteStep::SyncFolder, EIO, [&] {
        const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd < 0) return false;
        const bool ok = ::fsync(dfd) == 0 || errno == EINVAL;  // some file systems cannot flush a folder
        ::close(dfd);
        return ok;
      })) {
    if (r == StepResult::Crashed) return false;
    // The new file is in place and read from now on; only its survival of a power cut is in doubt.
    ReportOnce("the profile " + path + " was saved, but its folder could not be flushed (" +
               std::strerror(errno) + ")");
  }
  return true;
}

bool WriteEntries(const std::vector<ProfileBatch::Write>& writes) {
  const std::string path = GetProfilePath();
  if (path.empty()) {
    ReportOnce("no folder for the profile (no home folder or no application name); it is not saved");
    return false;
  }
  ProfileData data = Load(path);
  const bool mainDamaged = TheCache().mainDamaged;
  for (const ProfileBatch::Write& w : writes) data.Set(w.section, w.entry, w.value);
  if (!Save(path, data, mainDamaged)) {
    TheCache().valid = false;  // a stopped save may have left the files in any of its states
    return false;
  }
  Reported().clear();  // saving works again: later trouble is worth saying again
  Cache& cache = TheCache();
  cache.valid = true;
  cache.path = path;
  cache.main = StampOf(path);
  cache.backup = StampOf(path + ".bak");
  cache.mainDamaged = false;  // the file just written is whole
  cache.data = std::move(data);
  return true;
}

}  // namespace

// --- ProfileData ---

ProfileSection* ProfileData::FindSection(std::string_view name) {
  for (ProfileSection& s : sections_) {
    if (SameName(s.name, name)) return &s;
  }
  return nullptr;
}

const std::string* ProfileData::Find(std::string_view section, std::string_view entry) const {
  for (const ProfileSection& s : sections_) {
    if (!SameName(s.name, section)) continue;
    for (const ProfileEntry& e : s.entries) {
      if (SameName(e.name, entry)) return &e.value;
    }
    return nullptr;
  }
  return nullptr;
}

void ProfileData::Set(std::string_view section, std::string_view entry, std::string_view value) {
  ProfileSection* s = FindSection(section);
  if (s == nullptr) {
    sections_.push_back(ProfileSection{std::string(section), {}});
    s = &sections_.back();
  }
  for (ProfileEntry& e : s->entries) {
    if (SameName(e.name, entry)) {
      e.value.assign(value);
      return;
    }
  }
  s->entries.push_back(ProfileEntry{std::string(entry), std::string(value)});
}

bool ProfileData::Add(std::string_view section, std::string_view entry, std::string_view value) {
  if (Find(section, entry) != nullptr) return false;
  Set(section, entry, value);
  return true;
}

size_t ProfileData::EntryCount() const {
  size_t n = 0;
  for (const ProfileSection& s : sections_) n += s.entries.size();
  return n;
}

// --- the text format ---

ProfileReadResult ParseProfile(std::string_view text, ProfileData* out) {
  ProfileReadResult result;
  if (out == nullptr) return result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string section;
  bool inSection = false;
  std::string name, value;
  size_t pos = 0;
  size_t lineNo = 0;
  while (pos < text.size()) {
    ++lineNo;
    const size_t newline = text.find('\n', pos);
    std::string_view line = text.substr(pos, newline == std::string_view::npos ? std::string_view::npos : newline - pos);
    if (newline == std::string_view::npos) {
      // A last line without its newline was cut short, unless there is nothing on it.
      if (!TrimLayout(line).empty()) result.damagedLine = lineNo;
      return result;
    }
    pos = newline + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view body = TrimLayout(line);
    bool sound = true;
    if (body.empty() || body.front() == ';' || body.front() == '#') {
      // blank or comment
    } else if (body.front() == '[') {
      const size_t close = FindUnescaped(body.substr(1), ']');
      sound = close != std::string_view::npos && TrimLayout(body.substr(close + 2)).empty() &&
              Unescape(TrimLayout(body.substr(1, close)), &name);
      if (sound) {
        section = name;
        inSection = true;
      }
    } else {
      const size_t equals = FindUnescaped(body, '=');
      sound = inSection && equals != std::string_view::npos &&
              Unescape(TrimLayout(body.substr(0, equals)), &name) &&
              Unescape(TrimLayout(body.substr(equals + 1)), &value);
      if (sound) out->Add(section, name, value);
    }
    if (!sound) {
      result.damagedLine = lineNo;
      return result;
    }
    ++result.lines;
  }
  return result;
}

std::string FormatProfile(const ProfileData& data) {
  std::string out = kHeader;
  for (const ProfileSection& s : data.Sections()) {
    out += "\n[";
    Escape(s.name, true, &out);
    out += "]\n";
    for (const ProfileEntry& e : s.entries) {
      Escape(e.name, true, &out);
      out += '=';
      Escape(e.value, false, &out);
      out += '\n';
    }
  }
  return out;
}

// --- the store ---

void SetRegistryKey(const std::string& company) { Where().company = company; }
const std::string& GetRegistryKey() { return Where().company; }

std::string GetProfileDirectory() {
  const std::string& app = GetApplicationName();
  const std::string base = DataHome();
  if (base.empty() || app.empty()) return "";
  std::string dir = base;
  if (!Where().company.empty()) dir += "/" + Component(Where().company);
  return dir + "/" + Component(app);
}

std::string GetProfilePath() {
  const std::string dir = GetProfileDirectory();
  return dir.empty() ? "" : dir + "/" + kFileName;
}

std::string GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue) {
  const std::string path = GetProfilePath();
  if (path.empty()) return std::string(defaultValue);
  const std::string* v = Load(path).Find(section, entry);
  return v != nullptr ? *v : std::string(defaultValue);
}

int32_t GetProfileInt(std::string_view section, std::string_view entry, int32_t defaultValue) {
  const std::string path = GetProfilePath();
  if (path.empty()) return defaultValue;
  const std::string* v = Load(path).Find(section, entry);
  if (v == nullptr || v->empty()) return defaultValue;
  std::string_view s = *v;
  bool negative = false;
  if (s.front() == '-' || s.front() == '+') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return defaultValue;
  int64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return defaultValue;
    n = n * 10 + (c - '0');
  }
  if (negative) n = -n;
  if (n < INT32_MIN || n > static_cast<int64_t>(UINT32_MAX)) return defaultValue;
  return static_cast<int32_t>(static_cast<uint32_t>(n));
}

bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
  return WriteEntries({ProfileBatch::Write{std::string(section), std::string(entry), std::string(value)}});
}

bool WriteProfileInt(std::string_view section, std::string_view entry, int32_t value) {
  return WriteProfileString(section, entry, std::to_string(value));
}

void ProfileBatch::WriteString(std::string_view section, std::string_view entry, std::string_view value) {
  writes_.push_back(Write{std::string(section), std::string(entry), std::string(value)});
}

void ProfileBatch::WriteInt(std::string_view section, std::string_view entry, int32_t value) {
  WriteString(section, entry, std::to_string(value));
}

bool ProfileBatch::Commit() const { return writes_.empty() || WriteEntries(writes_); }

void SetProfileWriteHookForTest(std::function<StepOutcome(ProfileWriteStep)> hook) { Hook() = std::move(hook); }

}  // namespace platform
