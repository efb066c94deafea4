// Band-limited sample-rate conversion for the mixer: whole recordings once, and voices played off their rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct SpeexResamplerState_;  // the library's converter, seen only by resampler.cpp

namespace platform {

// Converts a whole recording of `frames` interleaved frames from `fromRate` to `toRate`. The result
// has OutputFrames(frames, fromRate, toRate) frames and is time-aligned: output frame j is the
// recording at time j / toRate. `circular` treats the recording as one turn of a loop (its end runs
// on into its start); otherwise it is silent before its start and after its end.
std::vector<float> ResampleWhole(const float* samples, uint32_t frames, int channels, uint32_t fromRate,
                                 uint32_t toRate, bool circular);
// Frames a recording of `frames` frames covers at `toRate`, rounded up.
uint32_t OutputFrames(uint32_t frames, uint32_t fromRate, uint32_t toRate);
// How many output frames at either end of a recording feel its neighbours through the filter.
uint32_t FilterReachFrames(uint32_t fromRate, uint32_t toRate);

// Copies `count` frames of a recording from source frame `first` on (either may lie outside it): a
// `looping` recording runs round again, any other is silent before its start and after its end.
void ReadFrames(const float* samples, uint32_t frames, int channels, bool looping, int64_t first, float* out,
                size_t count);

// A running conversion of one voice whose rate may change while it plays. Input comes from a
// callback that fills frames from a given source frame on (it decides what lies past the ends).
class StreamResampler {
 public:
  StreamResampler();
  ~StreamResampler();
  StreamResampler(const StreamResampler&) = delete;
  StreamResampler& operator=(const StreamResampler&) = delete;

  // Fills `count` frames starting at source frame `first` (may be negative or past the end).
  using Source = void (*)(const void* context, int64_t first, float* out, size_t count);

  // Starts afresh at source frame `at`: the filter is filled with what precedes `at`, so the first
  // output frame is the source at `at` with no start-up ramp. A negative quality takes the one for
  // running voices. False when the library refuses.
  bool Start(int channels, uint32_t fromRate, uint32_t toRate, int64_t at, Source source, const void* context,
             int quality = -1);
  // Changes the input rate while keeping the filter's memory (a smooth change of pitch).
  void SetRate(uint32_t fromRate);
  // Produces `count` output frames; returns how many were made (fewer only if the library fails).
  size_t Pull(float* out, size_t count, Source source, const void* context);
  bool Started() const { return state_ != nullptr; }
  int Channels() const { return channels_; }
  uint32_t FromRate() const { return fromRate_; }

 private:
  void Release();
  size_t Run(float* out, size_t count, Source source, const void* context);

  ::SpeexResamplerState_* state_ = nullptr;
  int channels_ = 0;
  int quality_ = -1;
  uint32_t fromRate_ = 0;
  uint32_t toRate_ = 0;
  int64_t next_ = 0;  // the next source frame to hand to the library
  std::vector<float> input_;
  std::vector<float> discard_;
};

}  // namespace platform
