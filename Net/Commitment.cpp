#include "Net/Commitment.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

#include "Net/Protocol.h"

namespace kravelon {

namespace {

void StartSodium() {
  // Safe to call from any thread, any number of times; -1 only when no random source can be had.
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
  std::string text(size * 2 + 1, '\0');
  sodium_bin2hex(text.data(), text.size(), bytes, size);
  text.pop_back();
  return text;
}

}  // namespace

std::string MakeSalt() {
  StartSodium();
  std::array<unsigned char, 16> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  return Hex(bytes.data(), bytes.size());
}

bool IsSalt(std::string_view text) {
  if (text.size() != 32) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string Sha256Hex(std::string_view text) {
  StartSodium();
  std::array<unsigned char, crypto_hash_sha256_BYTES> hash{};
  crypto_hash_sha256(hash.data(), reinterpret_cast<const unsigned char*>(text.data()), text.size());
  return Hex(hash.data(), hash.size());
}

std::string Commit(std::string_view salt, const std::vector<TShip>& fleet) {
  return Sha256Hex(RevealedText(salt, fleet));
}

bool MatchesCommitment(std::string_view commitment, std::string_view salt,
                       const std::vector<TShip>& fleet) {
  const std::string actual = Commit(salt, fleet);
  return commitment.size() == actual.size() &&
         sodium_memcmp(commitment.data(), actual.data(), actual.size()) == 0;
}

}  // namespace kravelon
