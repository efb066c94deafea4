// Where art files are looked for: the current directory, the program's folder, ../share/brushfeather
// beside it, then $XDG_DATA_DIRS; and the message that names every folder when a file is nowhere.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/module.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Folders = std::vector<std::string>;

TEST(ArtSearchOrder, CurrentThenProgramThenShareThenDataDirs) {
  EXPECT_EQ(ArtSearchFolders("/home/p/run", "/opt/My Games/bin", "/usr/share:/opt/ü/share/"),
            (Folders{"/home/p/run", "/opt/My Games/bin", "/opt/My Games/share/brushfeather", "/usr/share/brushfeather",
                     "/opt/ü/share/brushfeather"}));
  // Unset and empty both mean the two standard folders.
  const Folders standard{"/run", "/usr/bin", "/usr/share/brushfeather", "/usr/local/share/brushfeather"};
  EXPECT_EQ(ArtSearchFolders("/run", "/usr/bin", nullptr), standard);
  EXPECT_EQ(ArtSearchFolders("/run", "/usr/bin", ""), standard);
  // Empty and relative entries are no folders; the same folder is searched once, first where it comes.
  EXPECT_EQ(ArtSearchFolders("/usr/bin", "/usr/bin", "::relative/share:/usr/share/:/usr/share"),
            (Folders{"/usr/bin", "/usr/share/brushfeather"}));
  // Without a current directory or program folder, only what is known.
  EXPECT_EQ(ArtSearchFolders("", "", "/data"), (Folders{"/data/brushfeather"}));
}

// A private tree: the program's folder, a prefix with its share folder, and a data folder, with the
// current directory and $XDG_DATA_DIRS pointed into it for the test's length.
class ArtSearchTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("bf-art-search-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* d : {"run", "pre fix/bin", "pre fix/share/brushfeather", "data one", "data two/brushfeather"}) {
      fs::create_directories(root / d);
    }
    old = fs::current_path();
    fs::current_path(root / "run");
    if (const char* v = std::getenv("XDG_DATA_DIRS")) savedDirs = v;
    setenv("XDG_DATA_DIRS", ((root / "data one").string() + ":" + (root / "data two").string()).c_str(), 1);
    SetExecutableDirectoryForTest((root / "pre fix" / "bin").string());
  }
  void TearDown() override {
    SetExecutableDirectoryForTest("");
    if (savedDirs) setenv("XDG_DATA_DIRS", savedDirs->c_str(), 1);
    else unsetenv("XDG_DATA_DIRS");
    fs::current_path(old);
    fs::remove_all(root);
  }
  fs::path Put(const std::string& where, const std::string& name) {
    std::ofstream(root / where / name) << where;
    return root / where / name;
  }
  fs::path root, old;
  std::optional<std::string> savedDirs;
};

TEST_F(ArtSearchTree, EachFileIsTakenFromTheFirstFolderThatHasIt) {
  const fs::path inData = Put("data two/brushfeather", "Map1.Map");
  EXPECT_EQ(FindFileNoCase("map1.map"), inData.string());  // art found only in the data folder
  const fs::path inShare = Put("pre fix/share/brushfeather", "map1.map");
  EXPECT_EQ(FindFileNoCase("map1.map"), inShare.string());
  const fs::path beside = Put("pre fix/bin", "MAP1.MAP");
  EXPECT_EQ(FindFileNoCase("map1.map"), beside.string());
  const fs::path here = Put("run", "map1.map");
  EXPECT_EQ(FindFileNoCase("map1.map"), here.string());
  // A folder named like the file is not the file.
  fs::create_directories(root / "run" / "ctrls.dll");
  EXPECT_EQ(FindFileNoCase("ctrls.dll"), "");
}

TEST_F(ArtSearchTree, AMissingFileIsReportedWithEveryFolderSearched) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(LoadLibrary("ctrls.dll"), nullptr);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("\"ctrls.dll\""), std::string::npos) << said;
  for (const fs::path& folder : {root / "run", root / "pre fix" / "bin", root / "pre fix" / "share" / "brushfeather",
                                 root / "data one" / "brushfeather", root / "data two" / "brushfeather"}) {
    EXPECT_NE(said.find(folder.string()), std::string::npos) << folder << " in " << said;
  }
  // Data folders that do not exist are searched without complaint; an unset variable means the
  // standard folders.
  unsetenv("XDG_DATA_DIRS");
  EXPECT_NE(DescribeArtSearch().find("/usr/share/brushfeather"), std::string::npos);
  EXPECT_EQ(FindFileNoCase("no-such-file.dll"), "");
}

}  // namespace
}  // namespace platform
