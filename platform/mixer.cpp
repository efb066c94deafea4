// The software mixer: linear-interpolating resampler and clipping stereo sum.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

float GainFromHundredthsDb(int32_t attenuation) {
  if (attenuation <= kVolumeMin) return 0.0f;
  if (attenuation >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

void GainsFromVolumePan(int32_t volume, int32_t pan, float* left, float* right) {
  // Attenuations add in decibels; the near side keeps the plain volume.
  const int32_t leftDb = volume - std::max<int32_t>(pan, 0);
  const int32_t rightDb = volume - std::max<int32_t>(-pan, 0);
  *left = GainFromHundredthsDb(leftDb);
  *right = GainFromHundredthsDb(rightDb);
}

Mixer::Mixer(int outputRate) : rate_(outputRate > 0 ? outputRate : 44100) {}

void Mixer::AddVoice(MixerVoice* voice) {
  if (voice == nullptr) return;
  if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(voice);
}

void Mixer::RemoveVoice(MixerVoice* voice) {
  voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

namespace {

uint64_t StepOf(const MixerVoice& v, int rate) {
  return (static_cast<uint64_t>(v.frequency) << 32) / static_cast<uint64_t>(rate);
}

// Brings the cursor back inside the voice; false when a one-shot voice has run off its end (it is
// then stopped and rewound, so the next play starts from the beginning).
bool KeepInside(MixerVoice& v) {
  const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
  if (v.position < end) return true;
  if (v.looping && end != 0) {
    v.position %= end;
    return true;
  }
  v.playing = false;
  v.position = 0;
  return false;
}

void MixVoice(MixerVoice& v, float* acc, size_t frames, uint64_t step) {
  const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
  const float* s = v.samples.data();
  const uint32_t last = v.frames - 1;
  const float gl = v.gainLeft;
  const float gr = v.gainRight;
  constexpr float kFrac = 1.0f / 4294967296.0f;
  size_t i = 0;
  while (i < frames) {
    if (!KeepInside(v)) return;
    // Output frames before the cursor passes the end: no end checks needed inside this run.
    uint64_t run = step == 0 ? frames - i : (end - 1 - v.position) / step + 1;
    run = std::min<uint64_t>(run, frames - i);
    uint64_t pos = v.position;
    float* out = acc + 2 * i;
    if (v.channels == 2) {
      for (uint64_t k = 0; k < run; ++k) {
        const uint32_t idx = static_cast<uint32_t>(pos >> 32);
        const uint32_t nxt = idx < last ? idx + 1 : (v.looping ? 0 : idx);
        const float t = static_cast<float>(pos & 0xFFFFFFFFu) * kFrac;
        const float l0 = s[2 * idx], r0 = s[2 * idx + 1];
        const float l = l0 + (s[2 * nxt] - l0) * t;
        const float r = r0 + (s[2 * nxt + 1] - r0) * t;
        out[0] += l * gl;
        out[1] += r * gr;
        out += 2;
        pos += step;
      }
    } else {
      for (uint64_t k = 0; k < run; ++k) {
        const uint32_t idx = static_cast<uint32_t>(pos >> 32);
        const uint32_t nxt = idx < last ? idx + 1 : (v.looping ? 0 : idx);
        const float t = static_cast<float>(pos & 0xFFFFFFFFu) * kFrac;
        const float a = s[idx];
        const float m = a + (s[nxt] - a) * t;
        out[0] += m * gl;
        out[1] += m * gr;
        out += 2;
        pos += step;
      }
    }
    v.position = pos;
    i += static_cast<size_t>(run);
  }
  KeepInside(v);
}

bool Mixable(const MixerVoice& v) {
  return v.frames > 0 && (v.channels == 1 || v.channels == 2) &&
         v.samples.size() >= static_cast<size_t>(v.frames) * static_cast<size_t>(v.channels);
}

}  // namespace

void Mixer::Mix(int16_t* stereo, size_t frames) {
  if (stereo == nullptr || frames == 0) return;
  accum_.assign(frames * 2, 0.0f);
  for (MixerVoice* v : voices_) {
    if (!v->playing) continue;
    if (!Mixable(*v)) {
      v->playing = false;
      v->position = 0;
      continue;
    }
    MixVoice(*v, accum_.data(), frames, StepOf(*v, rate_));
  }
  // The sum has the float's headroom; only the final conversion clips, and it saturates.
  for (size_t i = 0; i < frames * 2; ++i) {
    const float x = accum_[i] * 32768.0f;
    stereo[i] = x >= 32767.0f ? int16_t{32767} : x <= -32768.0f ? int16_t{-32768} : static_cast<int16_t>(std::lrintf(x));
  }
}

bool Mixer::Idle() const {
  return std::none_of(voices_.begin(), voices_.end(), [](const MixerVoice* v) { return v->playing; });
}

void Mixer::Advance(size_t frames) {
  if (frames == 0) return;
  for (MixerVoice* v : voices_) {
    if (!v->playing) continue;
    if (!Mixable(*v)) {
      v->playing = false;
      v->position = 0;
      continue;
    }
    if (!KeepInside(*v)) continue;
    const uint64_t end = static_cast<uint64_t>(v->frames) << 32;
    const unsigned __int128 target =
        static_cast<unsigned __int128>(v->position) + static_cast<unsigned __int128>(StepOf(*v, rate_)) * frames;
    if (v->looping) {
      v->position = static_cast<uint64_t>(target % end);
    } else if (target >= end) {
      v->playing = false;
      v->position = 0;
    } else {
      v->position = static_cast<uint64_t>(target);
    }
  }
}

}  // namespace platform
