#pragma once
// The engine's source of random numbers. The game seeds its own from the clock; tests and the
// simulator hand in a seeded or scripted one, so every run can be replayed.
#include <cstdint>

namespace kravelon {

class TRandomSource {
 public:
  virtual ~TRandomSource() = default;
  virtual std::uint32_t Next() = 0;  // uniform over 0 .. 2^32 - 1
};

// PCG32 (XSH RR): tiny, fast and statistically sound; the computer draws a few hundred numbers
// per search, so the generator's speed shows in the simulator.
class TPcg32 final : public TRandomSource {
 public:
  explicit TPcg32(std::uint64_t seed = 0) { Seed(seed); }

  void Seed(std::uint64_t seed) {
    State = 0;
    Next();
    State += seed;
    Next();
  }

  std::uint32_t Next() override {
    const std::uint64_t old = State;
    State = old * 6364136223846793005ULL + Increment;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rot = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rot) | (xorshifted << ((32U - rot) & 31U));
  }

 private:
  static constexpr std::uint64_t Increment = 1442695040888963407ULL;
  std::uint64_t State = 0;
};

}  // namespace kravelon
