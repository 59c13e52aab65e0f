#include "gui/main/properties_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>

#include "core/common/cp1252.h"
#include "core/plugins/classify.h"
#include "core/plugins/text_util.h"

namespace qm::gui {
namespace {

QString permissions(const QFileInfo& info) {
  QStringList parts;
  if (info.isReadable()) parts << "read";
  if (info.isWritable()) parts << "write";
  if (info.isExecutable()) parts << "execute";
  return parts.isEmpty() ? QString("none") : parts.join(", ");
}

QLabel* value(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

QString typeLabel(const std::filesystem::path& file, const plugins::PlugTypeTable& types,
                  const ff::FFOptions& options) {
  QFileInfo info(QString::fromStdString(file.string()));
  if (info.isDir()) return "Folder";
  auto kind = plugins::classifyFile(file, types, options);
  // The engine files any name outside the type table under its catch-all category; for
  // people such a file is what the desktop says it is.
  bool listedType = !kind.typeTable || types.match(plugins::nameBytes(file));
  if (!kind.label || !listedType) return QMimeDatabase().mimeTypeForFile(info).comment();
  QString label = QString::fromStdString(cp1252ToUtf8(*kind.label));
  if (kind.architecture) label += QString(" (%1)").arg(QString::fromStdString(*kind.architecture));
  return label;
}

PropertiesDialog::PropertiesDialog(const std::filesystem::path& target,
                                   const plugins::PlugTypeTable& types,
                                   const ff::FFOptions& options, QWidget* parent)
    : QDialog(parent) {
  setObjectName("propertiesDialog");
  QFileInfo info(QString::fromStdString(target.string()));
  setWindowTitle(info.fileName() + " Properties");
  auto* form = new QFormLayout(this);
  QLocale locale;
  form->addRow("Name:", value(info.fileName(), this));
  form->addRow("Folder:", value(info.absolutePath(), this));
  form->addRow("Type:", value(typeLabel(target, types, options), this));
  if (info.isFile())
    form->addRow("Size:", value(QString("%1 bytes").arg(locale.toString(info.size())), this));
  form->addRow("Created:", value(locale.toString(info.birthTime(), QLocale::LongFormat), this));
  form->addRow("Modified:", value(locale.toString(info.lastModified(), QLocale::LongFormat), this));
  form->addRow("Accessed:", value(locale.toString(info.lastRead(), QLocale::LongFormat), this));
  form->addRow("Permissions:", value(permissions(info), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  form->addRow(buttons);
}

}  // namespace qm::gui
