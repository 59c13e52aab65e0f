#include "core/settings/store.h"

namespace qm::settings {

std::string MemoryStore::get(std::string_view section, std::string_view key) const {
  auto it = values_.find(Key(section, key));
  return it == values_.end() ? std::string() : it->second;
}

bool MemoryStore::contains(std::string_view section, std::string_view key) const {
  return values_.contains(Key(section, key));
}

void MemoryStore::set(std::string_view section, std::string_view key, std::string_view value) {
  values_[Key(section, key)] = std::string(value);
}

void MemoryStore::remove(std::string_view section, std::string_view key) {
  values_.erase(Key(section, key));
}

}  // namespace qm::settings
