// The game's sounds, made at start from a table of recipes (a tone that
// slides from one pitch to another, with noise mixed in, fading out), and
// the mixer that plays several at once into the sound card's buffers.
#pragma once

#include <array>
#include <cstdint>

namespace ludora::pno0001 {

inline constexpr int kSampleRate = 22050;  // mono, 16-bit

enum SoundId : std::uint8_t {
  kGunSound,
  kClickSound,
  kEnemyHitSound,
  kEnemyDeathSound,
  kEnemyShotSound,
  kHurtSound,
  kPickupSound,
  kLevelSound,
  kSoundCount,
};

// The sounds for a tick's events (world.h's Event bits), one per kind.
int SoundsFor(unsigned events, SoundId* sounds);

class Mixer {
 public:
  static constexpr int kVoices = 8;
  static constexpr int kMostSamples = kSampleRate * 6 / 10;  // the longest sound

  // Makes the sounds (some 100 KB: keep the mixer off the stack).
  Mixer();
  // Starts a sound; with every voice busy, the one nearest its end gives way.
  void Play(SoundId sound);
  // The next `count` samples of everything playing.
  void Mix(std::int16_t* out, int count);
  int Length(SoundId sound) const { return lengths_[sound]; }
  const std::int16_t* Samples(SoundId sound) const { return samples_[sound].data(); }

 private:
  struct Voice {
    int sound = -1, at = 0;
  };
  std::array<std::array<std::int16_t, kMostSamples>, kSoundCount> samples_{};
  std::array<int, kSoundCount> lengths_{};
  std::array<Voice, kVoices> voices_{};
};

}  // namespace ludora::pno0001
