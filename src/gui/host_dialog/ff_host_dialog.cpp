#include "gui/host_dialog/ff_host_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/common/cp1252.h"
#include "core/host/preview_picture.h"
#include "core/host/run_filter.h"
#include "platform/image_codec.h"

namespace qm::gui {
namespace {

QString shown(const std::string& cp1252) {
  return QString::fromStdString(cp1252ToUtf8(cp1252));
}

// A slider 0..255 with its value beside it, as the plugin's own dialog shows them.
QSlider* addSlider(QFormLayout* form, const QString& caption, int value, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* slider = new QSlider(Qt::Horizontal, row);
  slider->setRange(0, 255);
  slider->setValue(value);
  slider->setMinimumWidth(200);
  auto* number = new QSpinBox(row);
  number->setRange(0, 255);
  number->setValue(value);
  QObject::connect(slider, &QSlider::valueChanged, number, &QSpinBox::setValue);
  QObject::connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
  layout->addWidget(slider, 1);
  layout->addWidget(number);
  form->addRow(caption, row);
  return slider;
}

}  // namespace

FFHostDialog::FFHostDialog(const ff::FFRecord& record, const QImage& picture, bool editor,
                           QWidget* parent)
    : QDialog(parent), record_(record) {
  setObjectName("ffHostDialog");
  setWindowTitle(record.title.empty() ? QString("Filter Factory") : shown(record.title));
  const host::Size box = host::previewBoxPixels(8, 8);  // a larger box than the editor's
  if (!picture.isNull()) {
    const host::Size size = host::thumbSize({picture.width(), picture.height()}, box);
    const QImage scaled =
        picture.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture_ = platform::fromQImage(scaled, 24, false);
  }
  preview_ = new QLabel(this);
  preview_->setObjectName("hostPreview");
  preview_->setFixedSize(box.width + 4, box.height + 4);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setFrameShape(QFrame::Panel);
  preview_->setFrameShadow(QFrame::Sunken);
  error_ = new QLabel(this);
  error_->setObjectName("hostError");
  error_->setWordWrap(true);
  error_->setStyleSheet("color: #b00000");

  auto* controls = new QGroupBox(this);
  auto* form = new QFormLayout(controls);
  for (int map = 0; map < 4; ++map) {
    const bool named = !record.mapNames[map].empty();
    for (int half = 0; half < 2; ++half) {
      const int i = map * 2 + half;
      QString caption;
      if (named)
        caption = half == 0 ? shown(record.mapNames[map]) : QString();
      else if (!record.controlNames[i].empty())
        caption = shown(record.controlNames[i]);
      else
        continue;
      sliders_[i] = addSlider(form, caption, record.sliderValues[i], controls);
      sliders_[i]->setObjectName(QString("ctl%1").arg(i));
      connect(sliders_[i], &QSlider::valueChanged, this, &FFHostDialog::updatePreview);
    }
  }
  if (form->rowCount() == 0) controls->hide();

  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(preview_, 0, Qt::AlignHCenter);
  left->addWidget(error_);
  left->addStretch(1);
  top->addLayout(left);
  top->addWidget(controls, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  if (editor) {
    auto* code = new QGroupBox("Formulas", this);
    auto* codeForm = new QFormLayout(code);
    static constexpr const char* kChannels[] = {"R:", "G:", "B:", "A:"};
    for (int c = 0; c < 4; ++c) {
      formulas_[c] = new QPlainTextEdit(shown(record.formulas[c]), code);
      formulas_[c]->setObjectName(QString("formula%1").arg(c));
      formulas_[c]->setFixedHeight(fontMetrics().lineSpacing() * 3 + 10);
      codeForm->addRow(kChannels[c], formulas_[c]);
      connect(formulas_[c], &QPlainTextEdit::textChanged, this, &FFHostDialog::updatePreview);
    }
    layout->addWidget(code);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  updatePreview();
}

HostDialogResult FFHostDialog::result() const {
  HostDialogResult r;
  r.sliders = record_.sliderValues;
  r.formulas = record_.formulas;
  for (int i = 0; i < 8; ++i)
    if (sliders_[i]) r.sliders[i] = static_cast<std::uint8_t>(sliders_[i]->value());
  for (int c = 0; c < 4; ++c)
    if (formulas_[c]) r.formulas[c] = utf8ToCp1252(formulas_[c]->toPlainText().toStdString());
  return r;
}

void FFHostDialog::updatePreview() {
  if (!picture_.valid()) return;
  const HostDialogResult now = result();
  host::Image image = picture_;
  host::FilterRun run;
  run.sliders = now.sliders;
  const auto report =
      host::runFilter(now.formulas, image, {0, 0, image.width - 1, image.height - 1}, run);
  if (report.outcome == host::RunOutcome::BadFormula) {
    error_->setText(QString::fromStdString(host::describe(report.error)));
    return;  // the last good preview stays
  }
  error_->clear();
  preview_->setPixmap(QPixmap::fromImage(platform::toQImage(image)));
}

std::optional<HostDialogResult> runHostDialog(const ff::FFRecord& record, const QImage& picture,
                                              bool editor, QWidget* parent) {
  FFHostDialog dialog(record, picture, editor, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.result();
}

std::function<bool(ff::FFRecord&)> hostDialogFor(const QImage& picture, bool editor,
                                                 QWidget* parent) {
  return [picture, editor, parent](ff::FFRecord& filter) {
    auto chosen = runHostDialog(filter, picture, editor, parent);
    if (!chosen) return false;
    filter.sliderValues = chosen->sliders;
    filter.formulas = chosen->formulas;
    return true;
  };
}

}  // namespace qm::gui
