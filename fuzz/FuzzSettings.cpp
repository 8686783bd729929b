// The settings file on any bytes: what is read whole is written back byte for byte; what is not
// leaves a readable rest; and setting a key gives a file that reads back with that value and
// every other key as it was.
#include <cstdlib>
#include <string>
#include <vector>

#include "Store/Settings.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > TSettingsFile::SizeLimit) return 0;  // refused unread
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> notes;
  TSettings settings = TSettings::Parse(text, notes);
  const std::string kept = settings.Format();
  if (!settings.HasBrokenLines() && kept != text) std::abort();
  if (TSettings::Parse(kept, notes).HasBrokenLines()) std::abort();
  settings.SetSound(false);
  const TSettings again = TSettings::Parse(settings.Format(), notes);
  // A line the new value takes past inih's limit is the one case not written (TSettingsFile).
  if (again.HasBrokenLines()) return 0;
  if (again.Sound() != false || again.Speech() != settings.Speech() ||
      again.Language() != settings.Language() || again.Scale() != settings.Scale() ||
      again.Windowed() != settings.Windowed())
    std::abort();
  return 0;
}
