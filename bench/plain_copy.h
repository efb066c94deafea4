// The yardstick every frame benchmark is read against: one plain copy of a 640 x 480 8-bit frame.
// Registered by each program that includes it, so the ratio comes from one run on one machine.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void BM_PlainCopy640x480(benchmark::State& state) {
  std::vector<uint8_t> src(640 * 480, 7);
  std::vector<uint8_t> dst(640 * 480, 0);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size());
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 640 * 480);
}
BENCHMARK(BM_PlainCopy640x480);
