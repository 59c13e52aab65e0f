#include "platform/settings_store.h"

#include <QStringList>

namespace qm::platform {
namespace {

QString path(std::string_view section, std::string_view key) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
         QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

}  // namespace

QSettingsStore::QSettingsStore() : settings_(std::make_unique<QSettings>("Quillmark", "Qumo10")) {}

QSettingsStore::QSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

std::string QSettingsStore::get(std::string_view section, std::string_view key) const {
  QVariant value = settings_->value(path(section, key));
  // A hand-edited value with an unquoted comma comes back as a list; the store only knows
  // strings, so it reads as it was written.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(',').toStdString();
  return value.toString().toStdString();
}

bool QSettingsStore::contains(std::string_view section, std::string_view key) const {
  return settings_->contains(path(section, key));
}

void QSettingsStore::set(std::string_view section, std::string_view key, std::string_view value) {
  settings_->setValue(path(section, key),
                      QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QSettingsStore::remove(std::string_view section, std::string_view key) {
  settings_->remove(path(section, key));
}

bool QSettingsStore::sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace qm::platform
