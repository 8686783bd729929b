#include "tools/assetgen/Synth.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/Raster.h"

namespace assetgen {
namespace {

constexpr float kTau = 6.2831853f;

void Normalise(std::vector<float>& s, float peak) {
  float top = 0;
  for (float v : s) top = std::max(top, std::fabs(v));
  if (top > 0)
    for (float& v : s) v *= peak / top;
}

// Short fades at both ends: no click when a sound starts or is cut.
void Fade(std::vector<float>& s, float inSeconds, float outSeconds) {
  size_t in = static_cast<size_t>(inSeconds * kSampleRate);
  size_t out = static_cast<size_t>(outSeconds * kSampleRate);
  for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= static_cast<float>(i) / in;
  for (size_t i = 0; i < out && i < s.size(); ++i)
    s[s.size() - 1 - i] *= static_cast<float>(i) / out;
}

}  // namespace

std::vector<float> ShotSound() {
  const int n = static_cast<int>(0.55f * kSampleRate);
  std::vector<float> s(n);
  XorShift rng(0x5107);
  float low = 0, mid = 0, lower = 0, phase = 0;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float noise = rng.Uniform(-1, 1);
    // One-pole low-passes of the same noise: the crack, a body and a dull rumble.
    low += 0.35f * (noise - low);
    mid += 0.12f * (noise - mid);
    lower += 0.04f * (noise - lower);
    float freq = 42 + 110 * std::exp(-t / 0.05f);
    phase += kTau * freq / kSampleRate;
    float boom = std::sin(phase) * std::exp(-t / 0.13f);
    float crack = low * std::exp(-t / 0.018f);
    float rumble = lower * 4.5f * std::exp(-t / 0.16f);
    // The band between the two carries the blast on small speakers that lose the boom.
    float body = (mid - lower) * 1.6f * std::exp(-t / 0.09f);
    s[i] = 0.9f * boom + 0.7f * crack + 0.6f * rumble + body;
  }
  Normalise(s, 0.85f);
  Fade(s, 0.001f, 0.06f);
  return s;
}

std::vector<float> SetupSound() {
  const int n = static_cast<int>(0.16f * kSampleRate);
  std::vector<float> s(n);
  XorShift rng(0xC1A4);
  // Inharmonic partials of a struck steel plate, each dying at its own rate.
  const float freqs[] = {431, 1093, 1742, 2519, 3301};
  const float decays[] = {0.060f, 0.040f, 0.028f, 0.020f, 0.012f};
  const float gains[] = {1.0f, 0.7f, 0.5f, 0.35f, 0.25f};
  float click = 0;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / kSampleRate;
    float v = 0;
    for (int k = 0; k < 5; ++k)
      v += gains[k] * std::sin(kTau * freqs[k] * t) * std::exp(-t / decays[k]);
    click += 0.5f * (rng.Uniform(-1, 1) - click);
    v += 1.2f * click * std::exp(-t / 0.004f);
    s[i] = v;
  }
  Normalise(s, 0.7f);
  Fade(s, 0.0005f, 0.03f);
  return s;
}

std::vector<float> WinTune() {
  // Sixteen eighth notes at 150 beats a minute: 3.2 s. Notes are mixed into a ring buffer,
  // so a tail that runs past the end sounds again at the start and the loop has no seam.
  const float eighth = 0.2f;
  const int n = static_cast<int>(16 * eighth * kSampleRate);
  std::vector<float> s(n, 0.0f);
  auto note = [&](float start, float midi, float length, float gain, bool bell) {
    float f = 440.0f * std::pow(2.0f, (midi - 69) / 12);
    int first = static_cast<int>(start * kSampleRate);
    int count = static_cast<int>((length + 0.6f) * kSampleRate);
    for (int i = 0; i < count; ++i) {
      float t = static_cast<float>(i) / kSampleRate;
      float attack = std::min(1.0f, t / 0.006f);
      float env = attack * std::exp(-t / (bell ? 0.35f : length * 0.9f));
      float v = std::sin(kTau * f * t) +
                (bell ? 0.25f * std::sin(kTau * 2.0f * f * t) * std::exp(-t / 0.12f)
                      : 0.15f * std::sin(kTau * 3.0f * f * t));
      s[(first + i) % n] += gain * env * v;
    }
  };
  // A calm major-pentatonic phrase over I – vi – IV – V, in D.
  const float melody[16] = {74, 78, 81, 78, 83, 81, 78, 76, 74, 76, 78, 81, 79, 78, 76, 73};
  for (int i = 0; i < 16; ++i)
    if (i % 8 != 7) note(i * eighth, melody[i], eighth, 0.45f, true);
  note(7 * eighth, 76, eighth * 2, 0.4f, true);
  note(15 * eighth, 73, eighth, 0.4f, true);
  const float bass[4] = {50, 47, 43, 45};
  for (int bar = 0; bar < 4; ++bar) {
    note(bar * 4 * eighth, bass[bar], 4 * eighth, 0.35f, false);
    note(bar * 4 * eighth + 2 * eighth, bass[bar] + 7, 2 * eighth, 0.18f, false);
  }
  Normalise(s, 0.5f);
  return s;
}

}  // namespace assetgen
