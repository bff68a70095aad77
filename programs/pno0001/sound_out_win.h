// The sound card through waveOut: a few short buffers kept filled from the
// mixer as the game runs. Without a sound device the game plays silently.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <array>

#include "pno0001/sound.h"

namespace ludora::pno0001 {

class SoundOut {
 public:
  SoundOut() = default;
  ~SoundOut();
  SoundOut(const SoundOut&) = delete;
  SoundOut& operator=(const SoundOut&) = delete;

  // The default device, 22 kHz mono; false when there is none that plays it.
  bool Open();
  // Refills every buffer the card has finished with; returns at once.
  void Feed(Mixer& mixer);

 private:
  // Four buffers of 23 ms: a sound starts at most 93 ms after its event.
  static constexpr int kBuffers = 4, kSamples = 512;
  HWAVEOUT device_ = nullptr;
  std::array<WAVEHDR, kBuffers> headers_{};
  std::array<std::array<std::int16_t, kSamples>, kBuffers> samples_{};
};

}  // namespace ludora::pno0001
