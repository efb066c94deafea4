// A private profile folder for one test: XDG_DATA_HOME points into a fresh temporary directory.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

// Tests run as parallel processes and must never touch the real home: each one that can reach the
// profile (the game's constructor reads it) holds one of these while it runs.
class ProfileSandbox {
 public:
  ProfileSandbox() {
    if (const char* old = std::getenv("XDG_DATA_HOME")) saved_ = old;
    std::string pattern = (std::filesystem::temp_directory_path() / "bf-profile-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) root = pattern;
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  }
  ~ProfileSandbox() {
    if (saved_) setenv("XDG_DATA_HOME", saved_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
    std::error_code ec;
    if (!root.empty()) {
      // A test may have taken write permission away; give it back so everything can go.
      std::filesystem::permissions(root, std::filesystem::perms::owner_all, ec);
      std::filesystem::remove_all(root, ec);
    }
  }
  ProfileSandbox(const ProfileSandbox&) = delete;
  ProfileSandbox& operator=(const ProfileSandbox&) = delete;

  std::string DataHome() const { return root + "/data"; }

  std::string root;

 private:
  std::optional<std::string> saved_;
};
