// Builders of small RIFF WAVE images for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wave_images {

inline void Put(std::vector<uint8_t>* out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// One chunk: id, size (the body's unless `declared` overrides it), body, pad byte when odd.
inline std::vector<uint8_t> Chunk(const std::string& id, const std::vector<uint8_t>& body, int64_t declared = -1) {
  std::vector<uint8_t> c(id.begin(), id.end());
  Put(&c, declared >= 0 ? static_cast<uint32_t>(declared) : static_cast<uint32_t>(body.size()), 4);
  c.insert(c.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) c.push_back(0);
  return c;
}

// A plain-PCM 16-byte "fmt " body, or 18 bytes with an extra-size field.
inline std::vector<uint8_t> FmtBody(uint16_t channels, uint32_t rate, uint16_t bits, int extra = -1) {
  std::vector<uint8_t> b;
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  Put(&b, 1, 2);
  Put(&b, channels, 2);
  Put(&b, rate, 4);
  Put(&b, rate * align, 4);
  Put(&b, align, 2);
  Put(&b, bits, 2);
  if (extra >= 0) Put(&b, static_cast<uint32_t>(extra), 2);
  return b;
}

// "RIFF" size "WAVE" followed by the given chunks.
inline std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks, const std::string& form = "WAVE",
                                 int64_t declared = -1) {
  std::vector<uint8_t> body(form.begin(), form.end());
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body, declared);
}

// A usual recording: fmt then data.
inline std::vector<uint8_t> Recording(uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& samples) {
  return Riff({Chunk("fmt ", FmtBody(channels, rate, bits)), Chunk("data", samples)});
}

// `frames` 16-bit mono samples of value 1000 + (i % 1000).
inline std::vector<uint8_t> Samples16(uint32_t frames) {
  std::vector<uint8_t> s;
  for (uint32_t i = 0; i < frames; ++i) Put(&s, static_cast<uint16_t>(1000 + i % 1000), 2);
  return s;
}

}  // namespace wave_images
