#pragma once
// The settings store on QSettings: organisation "Quillmark", application "Qumo10" (an INI file
// under $XDG_CONFIG_HOME/Quillmark/ here, the registry on Windows).

#include <QSettings>
#include <memory>

#include "core/settings/store.h"

namespace qm::platform {

class QSettingsStore final : public settings::Store {
 public:
  QSettingsStore();
  // A store on a given INI file (tests, portable installs).
  explicit QSettingsStore(const QString& iniFile);

  std::string get(std::string_view section, std::string_view key) const override;
  bool contains(std::string_view section, std::string_view key) const override;
  void set(std::string_view section, std::string_view key, std::string_view value) override;
  void remove(std::string_view section, std::string_view key) override;

  // Writes pending changes to disk; false when the file could not be written.
  bool sync();
  QString fileName() const { return settings_->fileName(); }

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace qm::platform
