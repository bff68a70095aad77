#include "pno0001/sound.h"

#include <algorithm>

#include "pno0001/fixed.h"
#include "pno0001/world.h"

namespace ludora::pno0001 {

namespace {

enum Wave : std::uint8_t { kSquare, kSaw, kSine };

// One sound: its length, its pitch from start to end (Hz), the wave, how much
// noise (0 none to 256 all), its loudness, and the pitch steps of an
// arpeggio (the pitch doubles over 12 steps; 0 for none).
struct Recipe {
  int milliseconds, fromHz, toHz;
  Wave wave;
  int noise, volume;
  std::array<std::int8_t, 4> arpeggio;
};

constexpr Recipe kRecipes[kSoundCount] = {
    {180, 900, 80, kSquare, 200, 9000, {}},             // the gun
    {40, 1500, 1400, kSquare, 0, 3000, {}},             // empty
    {120, 400, 250, kSaw, 120, 7000, {}},               // an enemy hit
    {550, 300, 40, kSaw, 160, 9000, {}},                // an enemy destroyed
    {260, 200, 900, kSine, 20, 6000, {}},               // an enemy fires
    {250, 160, 90, kSquare, 90, 9000, {}},              // the player hit
    {220, 660, 660, kSquare, 0, 4500, {0, 4, 7, 12}},   // a pick-up
    {600, 440, 440, kSquare, 0, 5000, {0, 7, 12, 19}},  // the level done
};

// 2^(steps/12) in 16.16, for the arpeggios' steps (0 to 24).
Fixed Semitones(int steps) {
  Fixed ratio = kOne;
  for (; steps >= 12; steps -= 12) ratio *= 2;
  for (; steps > 0; --steps) ratio = Mul(ratio, 69433);  // 2^(1/12)
  return ratio;
}

int Make(const Recipe& recipe, std::int16_t* out) {
  const int count = std::min(Mixer::kMostSamples, kSampleRate * recipe.milliseconds / 1000);
  Random noise(0xC0FFEE);
  std::uint32_t phase = 0;  // a cycle is 2^32
  for (int i = 0; i < count; ++i) {
    int hz =
        recipe.fromHz + static_cast<int>(std::int64_t{recipe.toHz - recipe.fromHz} * i / count);
    if (recipe.arpeggio[1] != 0)
      hz = Mul(ToFixed(hz), Semitones(recipe.arpeggio[i * 4 / count])) >> kFractionBits;
    phase += static_cast<std::uint32_t>(std::uint64_t{static_cast<std::uint32_t>(hz)} *
                                        0x100000000ull / kSampleRate);
    int wave;  // -32768 to 32767
    switch (recipe.wave) {
      case kSquare:
        wave = phase < 0x80000000u ? 32767 : -32768;
        break;
      case kSaw:
        wave = static_cast<int>(phase >> 16) - 32768;
        break;
      default:
        wave = Sin(static_cast<int>(phase >> 20)) / 2;
        break;
    }
    const int hiss = static_cast<int>(noise.Next() & 0xFFFF) - 32768;
    const int mixed = (wave * (256 - recipe.noise) + hiss * recipe.noise) / 256;
    // Fades out to silence, after a short rise that keeps it from clicking.
    const int rise = std::min(i, 64), fall = count - i;
    const std::int64_t envelope = std::int64_t{rise} * fall * 65536 / (64 * count);
    out[i] = static_cast<std::int16_t>(mixed * recipe.volume / 32768 * envelope / 65536);
  }
  return count;
}

}  // namespace

int SoundsFor(unsigned events, SoundId* sounds) {
  constexpr std::pair<unsigned, SoundId> kFor[] = {
      {kShotFired, kGunSound},        {kEmptyClick, kClickSound},     {kEnemyHit, kEnemyHitSound},
      {kEnemyDied, kEnemyDeathSound}, {kEnemyFired, kEnemyShotSound}, {kPlayerHurt, kHurtSound},
      {kPickedUp, kPickupSound},      {kLevelDone, kLevelSound},
  };
  int count = 0;
  for (const auto& [event, sound] : kFor)
    if (events & event) sounds[count++] = sound;
  return count;
}

Mixer::Mixer() {
  for (int i = 0; i < kSoundCount; ++i) lengths_[i] = Make(kRecipes[i], samples_[i].data());
}

void Mixer::Play(SoundId sound) {
  Voice* chosen = &voices_[0];
  int leastLeft = 1 << 30;
  for (Voice& voice : voices_) {
    const int left = voice.sound < 0 ? -1 : lengths_[voice.sound] - voice.at;
    if (left < leastLeft) leastLeft = left, chosen = &voice;
  }
  *chosen = {sound, 0};
}

void Mixer::Mix(std::int16_t* out, int count) {
  std::fill(out, out + count, std::int16_t{0});
  for (Voice& voice : voices_) {
    if (voice.sound < 0) continue;
    const std::int16_t* samples = samples_[voice.sound].data();
    const int take = std::min(count, lengths_[voice.sound] - voice.at);
    for (int i = 0; i < take; ++i)
      out[i] = static_cast<std::int16_t>(std::clamp(out[i] + samples[voice.at + i], -32768, 32767));
    voice.at += take;
    if (voice.at >= lengths_[voice.sound]) voice.sound = -1;
  }
}

}  // namespace ludora::pno0001
