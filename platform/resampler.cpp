// Band-limited sample-rate conversion on speexdsp's resampler (see resampler.h).
#include "platform/resampler.h"

#include <speex/speex_resampler.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace platform {
namespace {

// Whole recordings are converted once at load, so they get the better filter; a running voice gets
// one that costs about half as much and still keeps images more than 110 dB down.
constexpr int kWholeQuality = 8;
constexpr int kStreamQuality = 5;

struct Recording {
  const float* samples;
  uint32_t frames;
  int channels;
  bool circular;
};

void RecordingFrames(const void* context, int64_t first, float* out, size_t count) {
  const Recording& r = *static_cast<const Recording*>(context);
  ReadFrames(r.samples, r.frames, r.channels, r.circular, first, out, count);
}

}  // namespace

void ReadFrames(const float* samples, uint32_t frames, int channels, bool looping, int64_t first, float* out,
                size_t count) {
  const size_t ch = static_cast<size_t>(channels);
  const int64_t n = frames;
  for (size_t k = 0; k < count; ++k) {
    int64_t i = first + static_cast<int64_t>(k);
    if (looping && n > 0) {
      i %= n;
      if (i < 0) i += n;
    } else if (i < 0 || i >= n) {
      std::fill(out + k * ch, out + (k + 1) * ch, 0.0f);
      continue;
    }
    std::memcpy(out + k * ch, samples + static_cast<size_t>(i) * ch, ch * sizeof(float));
  }
}

uint32_t OutputFrames(uint32_t frames, uint32_t fromRate, uint32_t toRate) {
  if (fromRate == 0) return 0;
  const uint64_t n = (static_cast<uint64_t>(frames) * toRate + fromRate - 1) / fromRate;
  return static_cast<uint32_t>(std::min<uint64_t>(n, UINT32_MAX));
}

uint32_t FilterReachFrames(uint32_t fromRate, uint32_t toRate) {
  if (fromRate == 0 || toRate == 0 || fromRate == toRate) return 0;
  int err = 0;
  SpeexResamplerState* st = speex_resampler_init(1, fromRate, toRate, kWholeQuality, &err);
  if (st == nullptr) return 0;
  const uint64_t inputReach = static_cast<uint64_t>(speex_resampler_get_input_latency(st)) + 2;
  speex_resampler_destroy(st);
  return static_cast<uint32_t>(std::min<uint64_t>((inputReach * toRate + fromRate - 1) / fromRate + 2, UINT32_MAX));
}

std::vector<float> ResampleWhole(const float* samples, uint32_t frames, int channels, uint32_t fromRate,
                                 uint32_t toRate, bool circular) {
  const size_t ch = channels == 2 ? 2 : 1;
  const uint32_t outFrames = OutputFrames(frames, fromRate, toRate);
  std::vector<float> out(static_cast<size_t>(outFrames) * ch, 0.0f);
  if (samples == nullptr || frames == 0 || toRate == 0) return out;
  if (fromRate == toRate) {
    std::copy(samples, samples + static_cast<size_t>(frames) * ch, out.begin());
    return out;
  }
  const Recording rec{samples, frames, static_cast<int>(ch), circular};
  StreamResampler s;
  if (!s.Start(static_cast<int>(ch), fromRate, toRate, 0, &RecordingFrames, &rec, kWholeQuality)) return out;
  s.Pull(out.data(), outFrames, &RecordingFrames, &rec);
  return out;
}

// --- the running conversion ---

StreamResampler::StreamResampler() = default;
StreamResampler::~StreamResampler() { Release(); }

void StreamResampler::Release() {
  if (state_ != nullptr) speex_resampler_destroy(state_);
  state_ = nullptr;
}

bool StreamResampler::Start(int channels, uint32_t fromRate, uint32_t toRate, int64_t at, Source source,
                            const void* context, int quality) {
  if (channels < 1 || channels > 2 || fromRate == 0 || toRate == 0 || source == nullptr) return false;
  if (quality < 0) quality = kStreamQuality;
  if (state_ == nullptr || channels != channels_ || toRate != toRate_ || quality != quality_) {
    Release();
    int err = 0;
    state_ = speex_resampler_init(static_cast<spx_uint32_t>(channels), fromRate, toRate, quality, &err);
    if (state_ == nullptr) return false;
  } else {
    speex_resampler_set_rate(state_, fromRate, toRate);
    speex_resampler_reset_mem(state_);
  }
  // The library's own zeros would make the first frames swell from silence; it is fed what really
  // precedes `at` instead, and what that produces is dropped. The history is a whole number of
  // output frames long where that is cheap, so output frame j lands exactly on source time j / toRate;
  // otherwise a fraction of an output frame is lost to rounding, far below hearing.
  speex_resampler_skip_zeros(state_);
  channels_ = channels;
  fromRate_ = fromRate;
  toRate_ = toRate;
  quality_ = quality;
  int64_t history = speex_resampler_get_input_latency(state_) + 2;
  const int64_t unit = fromRate / std::gcd(fromRate, toRate);
  if (unit <= 4096) history = (history + unit - 1) / unit * unit;
  next_ = at - history;
  const uint64_t drop = (static_cast<uint64_t>(history) * toRate + fromRate - 1) / fromRate;
  discard_.resize(static_cast<size_t>(std::min<uint64_t>(drop, 4096)) * channels);
  for (uint64_t left = drop; left > 0;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, 4096));
    if (Run(discard_.data(), n, source, context) != n) {
      Release();
      return false;
    }
    left -= n;
  }
  return true;
}

void StreamResampler::SetRate(uint32_t fromRate) {
  if (state_ == nullptr || fromRate == 0 || fromRate == fromRate_) return;
  speex_resampler_set_rate(state_, fromRate, toRate_);
  fromRate_ = fromRate;
}

size_t StreamResampler::Pull(float* out, size_t count, Source source, const void* context) {
  if (state_ == nullptr || out == nullptr || source == nullptr) return 0;
  return Run(out, count, source, context);
}

size_t StreamResampler::Run(float* out, size_t count, Source source, const void* context) {
  const size_t ch = static_cast<size_t>(channels_);
  size_t made = 0;
  while (made < count) {
    const size_t want = count - made;
    // About as much input as the wanted output needs, plus the filter's look-ahead.
    const uint64_t guess = static_cast<uint64_t>(want) * fromRate_ / toRate_ + 16;
    const size_t chunk = static_cast<size_t>(std::clamp<uint64_t>(guess, 16, 4096));
    input_.resize(chunk * ch);
    source(context, next_, input_.data(), chunk);
    spx_uint32_t inLen = static_cast<spx_uint32_t>(chunk);
    spx_uint32_t outLen = static_cast<spx_uint32_t>(std::min<size_t>(want, 1u << 20));
    speex_resampler_process_interleaved_float(state_, input_.data(), &inLen, out + made * ch, &outLen);
    next_ += inLen;
    made += outLen;
    if (inLen == 0 && outLen == 0) break;  // the library is stuck; the caller fills the rest with silence
  }
  if (made < count) std::fill(out + made * ch, out + count * ch, 0.0f);
  return made;
}

}  // namespace platform
