#pragma once
// The per-user settings store as the engine sees it: string values by section and key. The
// desktop program backs it with QSettings; tests use MemoryStore.

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace qm::settings {

inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kFolders = "Folders";
inline constexpr std::string_view kOptions = "Options";

class Store {
 public:
  virtual ~Store() = default;
  // A missing key reads as the empty string.
  virtual std::string get(std::string_view section, std::string_view key) const = 0;
  virtual bool contains(std::string_view section, std::string_view key) const = 0;
  virtual void set(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void remove(std::string_view section, std::string_view key) = 0;
};

class MemoryStore final : public Store {
 public:
  using Key = std::pair<std::string, std::string>;

  std::string get(std::string_view section, std::string_view key) const override;
  bool contains(std::string_view section, std::string_view key) const override;
  void set(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;

  const std::map<Key, std::string>& values() const { return values_; }

 private:
  std::map<Key, std::string> values_;
};

}  // namespace qm::settings
