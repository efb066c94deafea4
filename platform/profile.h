// The profile store: string and integer entries by (section, entry) in an INI file that survives crashes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// --- where it lives ---
// The company key (CWinApp::SetRegistryKey): the profile is
// $XDG_DATA_HOME/<company>/<application name>/profile.ini, with ~/.local/share for an unset or relative
// XDG_DATA_HOME. The application name is GetApplicationName() (platform/window.h).
void SetRegistryKey(const std::string& company);
const std::string& GetRegistryKey();
// The folder and the file; empty when no folder can be named (no home, no application name).
std::string GetProfileDirectory();
std::string GetProfilePath();

// --- entries (CWinApp's profile functions) ---
// A missing entry (or a missing or unreadable profile) gives the default. Section and entry names match
// without regard to ASCII case. Integers are stored as decimal text; one that does not read as a 32-bit
// number gives the default (values up to 4294967295 read back wrapped, as the original's DWORDs).
std::string GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue = {});
int32_t GetProfileInt(std::string_view section, std::string_view entry, int32_t defaultValue);
// Writes the entry and saves the whole profile at once: a temporary file beside it, flushed to disk,
// the current file kept as profile.ini.bak, the temporary renamed over it, the folder flushed. Any
// string is kept byte for byte. False when it cannot be saved (one line on standard error says why);
// the saved profile is then unchanged.
bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);
bool WriteProfileInt(std::string_view section, std::string_view entry, int32_t value);

// Several entries saved as one: a single save of the profile carries all of them, so after a crash or a
// failed save the profile holds every one of them or none (a ranking moves many entries together).
class ProfileBatch {
 public:
  void WriteString(std::string_view section, std::string_view entry, std::string_view value);
  void WriteInt(std::string_view section, std::string_view entry, int32_t value);
  // Saves the entries in the order written (a later one of the same name wins). True when saved, and
  // for an empty batch; false when the profile cannot be saved, and then none of them is.
  bool Commit() const;
  size_t Size() const { return writes_.size(); }

  struct Write {
    std::string section;
    std::string entry;
    std::string value;
  };

 private:
  std::vector<Write> writes_;
};

// --- the file's content ---
struct ProfileEntry {
  std::string name;
  std::string value;
  bool operator==(const ProfileEntry&) const = default;
};
struct ProfileSection {
  std::string name;
  std::vector<ProfileEntry> entries;
  bool operator==(const ProfileSection&) const = default;
};

// Sections and entries in the order they were first written; lookups ignore ASCII case.
class ProfileData {
 public:
  const std::string* Find(std::string_view section, std::string_view entry) const;
  void Set(std::string_view section, std::string_view entry, std::string_view value);
  // Adds the entry only when it is not there yet; true when added.
  bool Add(std::string_view section, std::string_view entry, std::string_view value);
  const std::vector<ProfileSection>& Sections() const { return sections_; }
  size_t EntryCount() const;
  bool operator==(const ProfileData&) const = default;

 private:
  ProfileSection* FindSection(std::string_view name);
  std::vector<ProfileSection> sections_;
};

// How far a profile file was sound.
struct ProfileReadResult {
  size_t lines = 0;         // complete lines read and used
  size_t damagedLine = 0;   // 1-based line where reading stopped; 0 when the whole file was sound
  bool Sound() const { return damagedLine == 0; }
};

// Reads profile text as far as it is sound: only lines that end with a newline count; the first line that
// is neither blank, a comment (';' or '#'), a "[section]" nor "entry=value" with valid escapes, or an entry
// before any section, stops the reading there. The first of two equal entries wins.
ProfileReadResult ParseProfile(std::string_view text, ProfileData* out);
// The file text: a comment line, then each section with its entries. Names and values are escaped so that
// every byte string reads back as it was: \\ \n \r \t, \xHH for other control bytes, \s for a space at
// either end, and in names also \= \[ \] \; \#. Everything else (UTF-8 included) is written as it is.
std::string FormatProfile(const ProfileData& data);

// --- failure injection for tests: the steps of a save ---
enum class ProfileWriteStep {
  MakeFolder,
  OpenTemporary,
  WriteFirstHalf,
  WriteSecondHalf,
  SyncTemporary,
  CloseTemporary,
  KeepBackup,  // profile.ini becomes profile.ini.bak
  Replace,     // profile.ini.tmp becomes profile.ini
  SyncFolder,
};
constexpr int kProfileWriteSteps = 9;
enum class StepOutcome {
  Proceed,
  Fail,   // the step fails as the system would (no space, an I/O error); the save cleans up and reports
  Crash,  // the program stops just before the step: nothing more is done, nothing is cleaned up
};
// Called before every step of every save; null removes it.
void SetProfileWriteHookForTest(std::function<StepOutcome(ProfileWriteStep)> hook);

}  // namespace platform
