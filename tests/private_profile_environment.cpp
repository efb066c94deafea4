// Every test process starts inside a private profile folder, so no test reads or writes the real home,
// even one that never asks for a sandbox of its own.
#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/profile_sandbox.h"

namespace {

class PrivateProfileEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { sandbox_ = std::make_unique<ProfileSandbox>(); }
  void TearDown() override { sandbox_.reset(); }

 private:
  std::unique_ptr<ProfileSandbox> sandbox_;
};

[[maybe_unused]] ::testing::Environment* const kPrivateProfile =
    ::testing::AddGlobalTestEnvironment(new PrivateProfileEnvironment);

}  // namespace
