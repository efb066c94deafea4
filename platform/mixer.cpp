// The software mixer: recordings resampled once at load, off-rate voices through a running resampler,
// clickless starts, cuts and gain changes, and a limited sum.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/resampler.h"

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

namespace {
constexpr uint64_t kMostPreparedSamples = uint64_t{1} << 24;  // 64 MB of floats
}  // namespace

void PrepareVoice(MixerVoice* v, uint32_t recordedRate, int outputRate) {
  if (v == nullptr) return;
  v->recordedRate = recordedRate;
  v->preparedRate = outputRate > 0 ? static_cast<uint32_t>(outputRate) : 0;
  v->prepared.clear();
  v->loopHead.clear();
  v->loopTail.clear();
  const int ch = v->channels;
  if (recordedRate == 0 || v->preparedRate == 0 || recordedRate == v->preparedRate || (ch != 1 && ch != 2) ||
      v->frames == 0 || v->samples.size() < static_cast<size_t>(v->frames) * ch) {
    return;  // played straight from the samples, or not at all
  }
  const uint32_t outFrames = OutputFrames(v->frames, recordedRate, v->preparedRate);
  // A long recording at a very low rate would grow hundreds of times over; such a voice (no sound
  // of the game is one) plays through the running resampler instead, which needs no copy.
  if (static_cast<uint64_t>(outFrames) * ch > kMostPreparedSamples) return;
  const size_t reach = std::min<size_t>(FilterReachFrames(recordedRate, v->preparedRate), outFrames);
  const bool silent = std::all_of(v->samples.begin(), v->samples.begin() + static_cast<size_t>(v->frames) * ch,
                                  [](float s) { return s == 0.0f; });
  if (silent) {  // a buffer not filled yet: nothing to convert
    v->prepared.assign(static_cast<size_t>(outFrames) * ch, 0.0f);
    v->loopHead.assign(reach * ch, 0.0f);
    v->loopTail.assign(reach * ch, 0.0f);
    return;
  }
  v->prepared = ResampleWhole(v->samples.data(), v->frames, ch, recordedRate, v->preparedRate, false);
  const std::vector<float> loop = ResampleWhole(v->samples.data(), v->frames, ch, recordedRate, v->preparedRate, true);
  v->loopHead.assign(loop.begin(), loop.begin() + static_cast<ptrdiff_t>(reach * ch));
  v->loopTail.assign(loop.end() - static_cast<ptrdiff_t>(reach * ch), loop.end());
}

// What the mixer remembers of one voice between blocks.
struct Mixer::Slot {
  MixerVoice* voice = nullptr;
  StreamResampler stream;
  bool streaming = false;     // the running resampler follows the voice's cursor
  bool sounding = false;      // it was playing at the end of the last block
  uint64_t expected = 0;      // where its cursor was left then
  float lastLeft = 0.0f;      // what it put into the last frame, fades included
  float lastRight = 0.0f;
  float gainLeft = 0.0f;      // the gains it was mixed with
  float gainRight = 0.0f;
  float fadeLeft = 0.0f;      // the value a cut left hanging, taken down over kRampFrames
  float fadeRight = 0.0f;
  size_t fadeFrames = 0;
  size_t fadeInFrames = 0;    // frames of a resumed voice still fading in

  void Quiet() {
    streaming = false;
    sounding = false;
    fadeFrames = fadeInFrames = 0;
    lastLeft = lastRight = 0.0f;
  }
};

Mixer::Mixer(int outputRate) : rate_(outputRate > 0 ? outputRate : 44100), limiter_(rate_) {}
Mixer::~Mixer() = default;

void Mixer::AddVoice(MixerVoice* voice) {
  if (voice == nullptr) return;
  for (const auto& s : slots_) {
    if (s->voice == voice) return;
  }
  auto slot = std::make_unique<Slot>();
  slot->voice = voice;
  slots_.push_back(std::move(slot));
}

void Mixer::RemoveVoice(MixerVoice* voice) {
  slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [&](const auto& s) { return s->voice == voice; }),
               slots_.end());
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

bool Mixable(const MixerVoice& v) {
  return v.frames > 0 && (v.channels == 1 || v.channels == 2) &&
         v.samples.size() >= static_cast<size_t>(v.frames) * static_cast<size_t>(v.channels);
}

bool PlaysPrepared(const MixerVoice& v, int rate) {
  const size_t ch = static_cast<size_t>(v.channels);
  return v.frequency == v.recordedRate && v.preparedRate == static_cast<uint32_t>(rate) && !v.prepared.empty() &&
         v.prepared.size() % ch == 0 && v.loopHead.size() == v.loopTail.size() &&
         v.loopHead.size() <= v.prepared.size();
}

// The running resampler's input: the voice's frames, round again for a loop, silence otherwise.
void VoiceFrames(const void* context, int64_t first, float* out, size_t count) {
  const MixerVoice& v = *static_cast<const MixerVoice*>(context);
  ReadFrames(v.samples.data(), v.frames, v.channels, v.looping, first, out, count);
}

}  // namespace

void Mixer::RenderRun(Slot& slot, float* out, size_t frames) {
  MixerVoice& v = *slot.voice;
  const size_t ch = static_cast<size_t>(v.channels);
  if (v.frequency == static_cast<uint32_t>(rate_)) {
    // At the output rate the samples are the output.
    slot.streaming = false;
    std::copy_n(v.samples.data() + static_cast<size_t>(v.Frame()) * ch, frames * ch, out);
    return;
  }
  if (PlaysPrepared(v, rate_)) {
    slot.streaming = false;
    const size_t n = v.prepared.size() / ch;
    const size_t reach = v.loopHead.size() / ch;
    const unsigned __int128 scaled = static_cast<unsigned __int128>(v.position) * static_cast<uint32_t>(rate_) +
                                     (static_cast<unsigned __int128>(v.recordedRate) << 31);
    size_t j = static_cast<size_t>(scaled / (static_cast<unsigned __int128>(v.recordedRate) << 32));
    // Copied in stretches: a loop's first and last frames come from its own versions of them.
    size_t k = 0;
    while (k < frames) {
      const float* from;
      size_t avail;
      if (v.looping && j < reach) {
        from = v.loopHead.data() + j * ch;
        avail = reach - j;
      } else if (v.looping && j >= n - reach && j < n) {
        from = v.loopTail.data() + (j - (n - reach)) * ch;
        avail = n - j;
      } else if (j < n) {
        from = v.prepared.data() + j * ch;
        avail = (v.looping ? n - reach : n) - j;
      } else {
        std::fill(out + k * ch, out + frames * ch, 0.0f);
        return;
      }
      const size_t take = std::min(avail, frames - k);
      std::copy_n(from, take * ch, out + k * ch);
      k += take;
      j += take;
    }
    return;
  }
  // Off its recorded rate: the running resampler, started at the cursor or retuned smoothly.
  if (!slot.streaming || slot.stream.Channels() != v.channels) {
    slot.streaming = slot.stream.Start(v.channels, v.frequency, static_cast<uint32_t>(rate_), v.Frame(),
                                       &VoiceFrames, &v);
  } else if (slot.stream.FromRate() != v.frequency) {
    slot.stream.SetRate(v.frequency);
  }
  if (!slot.streaming || slot.stream.Pull(out, frames, &VoiceFrames, &v) != frames) {
    std::fill(out, out + frames * ch, 0.0f);
    slot.streaming = false;
  }
}

size_t Mixer::Render(Slot& slot, float* out, size_t frames) {
  MixerVoice& v = *slot.voice;
  const uint64_t step = StepOf(v, rate_);
  const uint64_t end = static_cast<uint64_t>(v.frames) << 32;
  const size_t ch = static_cast<size_t>(v.channels);
  size_t i = 0;
  while (i < frames) {
    if (!KeepInside(v)) break;
    // Output frames before the cursor passes the end: one run needs no end checks.
    uint64_t run = step == 0 ? frames - i : (end - 1 - v.position) / step + 1;
    run = std::min<uint64_t>(run, frames - i);
    RenderRun(slot, out + i * ch, static_cast<size_t>(run));
    v.position += step * run;
    i += static_cast<size_t>(run);
  }
  KeepInside(v);
  return i;
}

bool Mixer::MixSlot(Slot& slot, size_t frames) {
  MixerVoice& v = *slot.voice;
  // A voice stopped, rewound or moved since the last block leaves its last value hanging: it is taken
  // down over a few milliseconds instead of dropping at once.
  const bool cut = slot.sounding && (!v.playing || v.position != slot.expected);
  if (cut) {
    slot.fadeLeft = slot.lastLeft;
    slot.fadeRight = slot.lastRight;
    slot.fadeFrames = kRampFrames;
    slot.streaming = false;
  }
  const bool starting = !slot.sounding || cut;
  size_t rendered = 0;
  if (v.playing && !Mixable(v)) {
    v.playing = false;
    v.position = 0;
  }
  if (v.playing) {
    // Heard from the middle (resumed, or moved while playing): faded in. From the start: as recorded.
    if (starting) {
      slot.fadeInFrames = v.position != 0 ? kRampFrames : 0;
      slot.gainLeft = v.gainLeft;
      slot.gainRight = v.gainRight;
      slot.streaming = slot.streaming && !cut;
    }
    const size_t ch = static_cast<size_t>(v.channels);
    scratch_.resize(frames * ch);
    rendered = Render(slot, scratch_.data(), frames);
  }
  if (rendered == 0 && slot.fadeFrames == 0) {
    slot.sounding = v.playing;
    slot.expected = v.position;
    slot.lastLeft = slot.lastRight = 0.0f;
    if (!v.playing) slot.streaming = false;
    return false;
  }

  const size_t ch = static_cast<size_t>(v.channels);
  const float* s = scratch_.data();
  float* acc = accum_.data();
  float gl = slot.gainLeft, gr = slot.gainRight;
  const float dl = (v.gainLeft - gl) / static_cast<float>(kRampFrames);
  const float dr = (v.gainRight - gr) / static_cast<float>(kRampFrames);
  size_t gainRamp = (gl != v.gainLeft || gr != v.gainRight) ? kRampFrames : 0;
  float lastL = 0.0f, lastR = 0.0f;
  if (gainRamp == 0 && slot.fadeInFrames == 0 && slot.fadeFrames == 0) {
    // The usual case: nothing to ramp.
    if (ch == 2) {
      for (size_t k = 0; k < rendered; ++k) {
        acc[2 * k] += s[2 * k] * gl;
        acc[2 * k + 1] += s[2 * k + 1] * gr;
      }
      lastL = s[2 * rendered - 2] * gl;
      lastR = s[2 * rendered - 1] * gr;
    } else {
      for (size_t k = 0; k < rendered; ++k) {
        acc[2 * k] += s[k] * gl;
        acc[2 * k + 1] += s[k] * gr;
      }
      lastL = s[rendered - 1] * gl;
      lastR = s[rendered - 1] * gr;
    }
  } else {
    for (size_t k = 0; k < frames; ++k) {
      float l = 0.0f, r = 0.0f;
      if (k < rendered) {
        if (gainRamp > 0) {
          gl += dl;
          gr += dr;
          if (--gainRamp == 0) {
            gl = v.gainLeft;
            gr = v.gainRight;
          }
        }
        float in = 1.0f;
        if (slot.fadeInFrames > 0) {
          in = 1.0f - static_cast<float>(slot.fadeInFrames) / static_cast<float>(kRampFrames + 1);
          --slot.fadeInFrames;
        }
        const float a = s[k * ch] * in;
        const float b = ch == 2 ? s[k * ch + 1] * in : a;
        l = a * gl;
        r = b * gr;
      }
      if (slot.fadeFrames > 0) {
        const float f = static_cast<float>(slot.fadeFrames) / static_cast<float>(kRampFrames + 1);
        l += slot.fadeLeft * f;
        r += slot.fadeRight * f;
        --slot.fadeFrames;
      } else if (k >= rendered) {
        break;
      }
      acc[2 * k] += l;
      acc[2 * k + 1] += r;
      lastL = l;
      lastR = r;
    }
  }
  slot.gainLeft = gainRamp > 0 ? gl : v.gainLeft;
  slot.gainRight = gainRamp > 0 ? gr : v.gainRight;
  // A one-shot that ran out ended as recorded; one still playing is remembered for the next block.
  slot.sounding = v.playing && rendered == frames;
  slot.expected = v.position;
  slot.lastLeft = slot.sounding ? lastL : 0.0f;
  slot.lastRight = slot.sounding ? lastR : 0.0f;
  if (!v.playing) slot.streaming = false;
  return true;
}

void Mixer::Mix(int16_t* stereo, size_t frames) {
  if (stereo == nullptr || frames == 0) return;
  accum_.assign(frames * 2, 0.0f);
  bool heard = false;
  for (auto& slot : slots_) heard = MixSlot(*slot, frames) || heard;
  quietFrames_ = heard ? 0 : quietFrames_ + frames;
  // The sum keeps a float's headroom; the limiter brings it under its ceiling, so the conversion
  // never meets the ends of the 16-bit range.
  limiter_.Process(accum_.data(), frames);
  for (size_t i = 0; i < frames * 2; ++i) stereo[i] = static_cast<int16_t>(std::lrintf(accum_[i] * 32768.0f));
}

bool Mixer::Idle() const {
  // Silent only once nothing plays or fades and the limiter's look-ahead has let out the last sound.
  if (quietFrames_ < kLatencyFrames) return false;
  return std::none_of(slots_.begin(), slots_.end(), [](const auto& s) { return s->voice->playing; });
}

void Mixer::Advance(size_t frames) {
  if (frames == 0) return;
  limiter_.Reset();
  quietFrames_ = kLatencyFrames;  // nothing is held in the look-ahead any more
  for (auto& slot : slots_) {
    MixerVoice* v = slot->voice;
    slot->Quiet();
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
