// Benchmark: mixing eight simultaneous buffers for one second of output, against copying that second.
// The buffers play at their recorded rates, as every sound of the game does (converted once at load);
// the second case plays all eight off their rates, through the running resampler.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/mixer.h"

namespace {

constexpr int kRate = 44100;
constexpr size_t kChunk = 882;  // the 20 ms the SDL output asks for at a time

std::vector<platform::MixerVoice> EightVoices(bool offRate) {
  // The game's mix of rates and layouts: 11025/11128/22050/44100 Hz, mono and stereo, all looping.
  const uint32_t rates[8] = {11025, 11128, 22050, 44100, 11025, 11025, 44100, 11025};
  const int channels[8] = {1, 1, 1, 1, 2, 2, 1, 1};
  std::vector<platform::MixerVoice> voices(8);
  for (int i = 0; i < 8; ++i) {
    platform::MixerVoice& v = voices[i];
    v.channels = channels[i];
    v.frames = rates[i] * 2;
    v.samples.resize(static_cast<size_t>(v.frames) * v.channels);
    for (size_t k = 0; k < v.samples.size(); ++k) v.samples[k] = 0.3f * std::sin(0.01f * k * (i + 1));
    v.frequency = rates[i];
    platform::PrepareVoice(&v, rates[i], kRate);  // as a sound buffer does when it is filled
    if (offRate) v.frequency = rates[i] + 1000;
    v.looping = true;
    v.playing = true;
    platform::GainsFromVolumePan(-300 * i, 1000 * (i - 4), &v.gainLeft, &v.gainRight);
  }
  return voices;
}

void MixOneSecond(benchmark::State& state, bool offRate) {
  auto voices = EightVoices(offRate);
  platform::Mixer mixer(kRate);
  for (auto& v : voices) mixer.AddVoice(&v);
  std::vector<int16_t> out(kChunk * 2);
  for (auto _ : state) {
    for (size_t done = 0; done < kRate; done += kChunk) {
      mixer.Mix(out.data(), std::min(kChunk, kRate - done));
      benchmark::DoNotOptimize(out.data());
    }
    benchmark::ClobberMemory();
  }
}
void BM_MixEightVoicesOneSecond(benchmark::State& state) { MixOneSecond(state, false); }
BENCHMARK(BM_MixEightVoicesOneSecond)->Unit(benchmark::kMicrosecond);

void BM_MixEightVoicesOffTheirRatesOneSecond(benchmark::State& state) { MixOneSecond(state, true); }
BENCHMARK(BM_MixEightVoicesOffTheirRatesOneSecond)->Unit(benchmark::kMicrosecond);

// Loading: the eight buffers converted to the output rate, as the game does once per recording.
void BM_PrepareEightVoices(benchmark::State& state) {
  for (auto _ : state) {
    auto voices = EightVoices(false);
    benchmark::DoNotOptimize(voices.data());
  }
}
BENCHMARK(BM_PrepareEightVoices)->Unit(benchmark::kMillisecond);

// The floor: one second of stereo 16-bit samples copied in the same 20 ms pieces.
void BM_CopyOneSecond(benchmark::State& state) {
  std::vector<int16_t> src(kRate * 2, 7);
  std::vector<int16_t> out(kChunk * 2);
  for (auto _ : state) {
    for (size_t done = 0; done < kRate; done += kChunk) {
      const size_t n = std::min(kChunk, kRate - done);
      std::memcpy(out.data(), src.data() + done * 2, n * 4);
      benchmark::DoNotOptimize(out.data());
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyOneSecond)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
