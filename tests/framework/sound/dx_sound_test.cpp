// Tests of the sound system's rules: play, stop and rewind, enabling, refused settings, unknown ids.
#include "framework/sound/dx_sound.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "framework/sound/dx_sound_buffer.h"
#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/headless/headless_backend.h"
#include "platform/sound.h"
#include "tests/framework/sound/wave_images.h"

namespace {

using namespace wave_images;
using platform::DSBSTATUS_LOOPING;
using platform::DSBSTATUS_PLAYING;

std::map<uint32_t, std::vector<uint8_t>> g_images;

int ImageReader(platform::Module*, uint32_t id, ZResourceBlock* out) {
  auto it = g_images.find(id);
  if (it == g_images.end()) return 0;
  out->data = it->second.data();
  out->size = static_cast<uint32_t>(it->second.size());
  return 1;
}

// Ids of the fixture: 10 is 1 s of 44.1 kHz 16-bit mono, 11 is 0.1 s of 11025 Hz 8-bit stereo, 12 is
// damaged (no "data" chunk), 13 is in the list but missing from the module, 14 a format the device refuses.
constexpr int32_t kLong = 10, kShort = 11, kDamaged = 12, kMissing = 13, kRefused = 14;
const int32_t kIds[] = {kLong, kShort, kDamaged, kMissing, kRefused};

class ZDXSoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_images.clear();
    g_images[kLong] = Recording(1, 44100, 16, Samples16(44100));
    g_images[kShort] = Recording(2, 11025, 8, std::vector<uint8_t>(2205, 200));
    g_images[kDamaged] = Riff({Chunk("fmt ", FmtBody(1, 11025, 8))});
    g_images[kRefused] = Recording(1, 11025, 12, std::vector<uint8_t>(300, 1));
    oldReader_ = ZWave::SetResourceReader(&ImageReader);
    platform::SetBackend(&backend_);
  }
  void TearDown() override {
    sound_.reset();
    platform::SetBackend(nullptr);
    ZWave::SetResourceReader(oldReader_);
  }

  void InitAll() {
    sound_ = std::make_unique<ZDXSound>();
    ASSERT_EQ(sound_->Init(kIds, 5, nullptr, ZDXSound::kBufferFlags, nullptr), 1);
    ASSERT_EQ(sound_->Enable(1), 1);
  }
  uint32_t Status(int32_t id) {
    uint32_t s = 0xFFFF;
    sound_->GetStatus(id, &s);
    return s;
  }
  uint32_t Position(int32_t id) {
    uint32_t p = 0xFFFF;
    sound_->FindBuffer(id)->buffer->GetCurrentPosition(&p, nullptr);
    return p;
  }
  void Advance(uint32_t ms) { backend_.GetManualClock().Advance(ms); }

  platform::HeadlessBackend backend_{5000};
  std::unique_ptr<ZDXSound> sound_;
  ZWave::ResourceReader oldReader_ = nullptr;
};

TEST_F(ZDXSoundTest, PlayContinuesStopKeepsTheCursorAndLoopingPlaysUntilStopped) {
  InitAll();
  ASSERT_EQ(sound_->Play(kLong, 0), 0);
  Advance(100);
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  Advance(100);
  EXPECT_EQ(Position(kLong), 8820u * 2);  // not restarted by the second play
  EXPECT_EQ(sound_->Stop(kLong), 0);
  Advance(300);
  EXPECT_EQ(Position(kLong), 8820u * 2);
  EXPECT_EQ(sound_->SetPosition(kLong, 0), 0);
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  Advance(1050);
  EXPECT_EQ(Status(kLong), 0u);  // ran out by itself
  sound_->Play(kShort, ZDXSound::kPlayLooping);
  Advance(2000);
  EXPECT_EQ(Status(kShort), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  sound_->Stop(kShort);
  EXPECT_EQ(Status(kShort), 0u);
}

TEST_F(ZDXSoundTest, DisablingStopsEverythingAndBlocksPlayingButNotSettings) {
  InitAll();
  sound_->Play(kLong, 0);
  sound_->Play(kShort, ZDXSound::kPlayLooping);
  Advance(20);
  EXPECT_EQ(sound_->Enable(0), 1);
  EXPECT_EQ(Status(kLong), 0u);
  EXPECT_EQ(Status(kShort), 0u);
  EXPECT_EQ(Position(kLong), 882u * 2);  // stopped, not rewound
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  EXPECT_EQ(sound_->SetVolume(kLong, -500), 0);
  sound_->PlayAdjusted(kLong, ZDXSound::kAdjustVolume, -100, 0);  // does nothing at all while disabled
  EXPECT_EQ(Status(kLong), 0u);
  int32_t v = 0;
  sound_->GetVolume(kLong, &v);
  EXPECT_EQ(v, -500);
  // Enabling again restarts nothing, but plays work.
  EXPECT_EQ(sound_->Enable(1), 1);
  Advance(100);
  EXPECT_EQ(Status(kShort), 0u);
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  EXPECT_EQ(Status(kLong), DSBSTATUS_PLAYING);
}

TEST_F(ZDXSoundTest, PlayAdjustedPlaysOnlyWhenTheDeviceTakesTheSetting) {
  InitAll();
  struct Case {
    int32_t id, kind, value;
    bool plays;
  };
  const Case cases[] = {
      {kLong, ZDXSound::kAdjustVolume, -12000, false}, {kLong, ZDXSound::kAdjustVolume, -2400, true},
      {kShort, ZDXSound::kAdjustPan, 10001, false},    {kShort, 3, 0, false},  // no such kind
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " value " << c.value);
    sound_->PlayAdjusted(c.id, c.kind, c.value, 0);
    EXPECT_EQ(Status(c.id), c.plays ? DSBSTATUS_PLAYING : 0u);
    sound_->Stop(c.id);
  }
  // A frequency is kept: 0.1 s of samples at twice their rate ends in about 50 ms.
  EXPECT_EQ(sound_->SetFrequency(kShort, 22050), 0);
  sound_->Play(kShort, 0);
  Advance(60);
  EXPECT_EQ(Status(kShort), 0u);
  uint32_t f = 0;
  EXPECT_EQ(sound_->SetFrequency(kShort, 0), 0);  // 0 puts back the recording's own rate
  sound_->GetFrequency(kShort, &f);
  EXPECT_EQ(f, 11025u);
  EXPECT_EQ(sound_->SetFrequency(kShort, -5), platform::DSERR_INVALIDPARAM);
}

TEST_F(ZDXSoundTest, UnknownIdsAndSilentSoundsDoNothing) {
  InitAll();
  for (int32_t id : {133, kDamaged, kMissing, kRefused}) {
    uint32_t status = 77;
    EXPECT_EQ(sound_->Play(id, 0), 0) << id;
    EXPECT_EQ(sound_->SetFrequency(id, 99), 0) << id;  // out of range, but nobody to refuse it
    EXPECT_EQ(sound_->SetVolume(id, -20000), 0) << id;
    EXPECT_EQ(sound_->GetStatus(id, &status), 0) << id;
    EXPECT_EQ(status, 77u);
  }
  EXPECT_EQ(sound_->FindBuffer(133), nullptr);
  EXPECT_NE(sound_->FindBuffer(kDamaged), nullptr);  // kept, silent, so its id still answers
}

TEST_F(ZDXSoundTest, WithoutAHostOrAnOutputSoundIsUnavailableAndQuiet) {
  platform::SetBackend(nullptr);
  sound_ = std::make_unique<ZDXSound>();
  EXPECT_EQ(sound_->Init(kIds, 5, nullptr, 0, nullptr), 0);
  EXPECT_EQ(sound_->Enable(1), 0);
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  // A host whose output someone else holds is no better.
  platform::SetBackend(&backend_);
  platform::Mixer other(44100);
  ASSERT_TRUE(backend_.Audio().Open(44100, &other));
  sound_ = std::make_unique<ZDXSound>();
  EXPECT_EQ(sound_->Init(kIds, 5, nullptr, 0, nullptr), 0);
  EXPECT_EQ(sound_->device, nullptr);
  backend_.Audio().Close();
}

TEST_F(ZDXSoundTest, ShutdownReleasesEverythingAndTheOutput) {
  InitAll();
  sound_->Play(kLong, ZDXSound::kPlayLooping);
  sound_->Shutdown();
  EXPECT_FALSE(backend_.Audio().IsOpen());
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  EXPECT_EQ(Status(kLong), 0xFFFFu);  // no buffer left to ask
}

TEST_F(ZDXSoundTest, ALostBufferIsRebuiltFromItsRecordingAtTheNextPlay) {
  InitAll();
  ZDXSoundBuffer* b = sound_->FindBuffer(kLong);
  b->buffer->MarkLost();
  EXPECT_EQ(Status(kLong), platform::DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(sound_->Play(kLong, 0), 0);
  EXPECT_EQ(Status(kLong), DSBSTATUS_PLAYING);
  // The samples are back: read them through a lock.
  sound_->Stop(kLong);
  void* p = nullptr;
  uint32_t n = 0;
  ASSERT_EQ(b->buffer->Lock(200, 4, &p, &n, nullptr, nullptr, 0), platform::DS_OK);
  const auto* s = static_cast<const int16_t*>(p);
  EXPECT_EQ(s[0], 1100);
  EXPECT_EQ(s[1], 1101);
  b->buffer->Unlock(p, n, nullptr, 0);
}

}  // namespace
