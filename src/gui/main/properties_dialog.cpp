#include "gui/main/properties_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>

#include "core/plugins/type_table.h"

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

QString typeLabel(const std::filesystem::path& file, const plugins::PlugTypeTable& types) {
  QFileInfo info(QString::fromStdString(file.string()));
  if (info.isDir()) return "Folder";
  QString suffix = info.fileName().toLower().right(4);
  if (suffix == ".8bf") return "Photoshop Filter Plugin";
  if (suffix == ".prm") return "Premiere Plugin";
  if (suffix == ".aex") return "After Effects Plugin";
  if (suffix == ".ffl") return "Filter Factory Library";
  if (suffix == ".afs" || suffix == ".pff" || suffix == ".ffx") return "Filter Factory Source";
  if (auto row = types.match(file.filename().string()))
    return QString::fromStdString(types.rows()[*row].label);
  return QMimeDatabase().mimeTypeForFile(info).comment();
}

PropertiesDialog::PropertiesDialog(const std::filesystem::path& target,
                                   const plugins::PlugTypeTable& types, QWidget* parent)
    : QDialog(parent) {
  setObjectName("propertiesDialog");
  QFileInfo info(QString::fromStdString(target.string()));
  setWindowTitle(info.fileName() + " Properties");
  auto* form = new QFormLayout(this);
  QLocale locale;
  form->addRow("Name:", value(info.fileName(), this));
  form->addRow("Folder:", value(info.absolutePath(), this));
  form->addRow("Type:", value(typeLabel(target, types), this));
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
