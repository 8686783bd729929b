#pragma once
// Things the game looks up by name, where the case of a name does not matter (ASCII only: the
// game's names are English identifiers). Kept in the order they were added.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kravelon {

template <typename T>
class TRegistry {
 public:
  // A name already present keeps its place and its first spelling; the thing it named is
  // released and replaced.
  void Add(std::string name, std::unique_ptr<T> item) {
    for (auto& entry : Entries) {
      if (SameName(entry.first, name)) {
        entry.second = std::move(item);
        return;
      }
    }
    Entries.emplace_back(std::move(name), std::move(item));
  }

  // The first entry of that name whatever its case; null when there is none.
  T* Find(std::string_view name) const {
    for (const auto& entry : Entries) {
      if (SameName(entry.first, name)) return entry.second.get();
    }
    return nullptr;
  }

  std::size_t Size() const { return Entries.size(); }
  const std::string& Name(std::size_t index) const { return Entries[index].first; }
  void Clear() { Entries.clear(); }

 private:
  static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
  static bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
  }

  std::vector<std::pair<std::string, std::unique_ptr<T>>> Entries;
};

}  // namespace kravelon
