#include "gui/main/preview_panel.h"

#include <QPointer>
#include <QVBoxLayout>

#include "core/host/image_library.h"
#include "core/host/preview_picture.h"
#include "gui/main/app_context.h"
#include "platform/image_codec.h"

namespace qm::gui {

namespace fs = std::filesystem;

PreviewPanel::PreviewPanel(AppContext& context, QWidget* parent)
    : QFrame(parent),
      context_(context),
      generation_(std::make_shared<std::atomic<std::uint64_t>>(0)) {
  setObjectName("previewPanel");
  setFrameShape(QFrame::StyledPanel);
  pool_.setMaxThreadCount(1);
  const host::Size box = host::previewBoxPixels();
  caption_ = new QLabel("Preview", this);
  caption_->setObjectName("previewCaption");
  caption_->setAlignment(Qt::AlignCenter);
  picture_ = new QLabel(this);
  picture_->setObjectName("previewPicture");
  picture_->setFixedSize(box.width + 4, box.height + 4);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setFrameShape(QFrame::Panel);
  picture_->setFrameShadow(QFrame::Sunken);
  facts_ = new QLabel(this);
  facts_->setObjectName("previewFacts");
  facts_->setWordWrap(true);
  facts_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  facts_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(caption_);
  layout->addWidget(picture_, 0, Qt::AlignHCenter);
  layout->addWidget(facts_, 1);
  setFixedWidth(box.width + 24);
}

PreviewPanel::~PreviewPanel() {
  ++*generation_;
  pool_.waitForDone();
}

void PreviewPanel::pictureChanged(const QImage& decoded) {
  thumb_.reset();
  if (decoded.isNull()) return;
  const host::Size size =
      host::thumbSize({decoded.width(), decoded.height()}, host::previewBoxPixels());
  const QImage scaled = decoded.scaled(std::max(1, size.width), std::max(1, size.height),
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  thumb_ = platform::fromQImage(scaled, 24, false);
  thumbFile_ = host::previewPicturePath(context_.options.previewPicture, context_.programDir);
}

const host::Image& PreviewPanel::thumb() {
  const fs::path file =
      host::previewPicturePath(context_.options.previewPicture, context_.programDir);
  if (!thumb_ || file != thumbFile_) {
    platform::QtImageCodec codec;
    host::ImageLibrary images(codec);
    host::ImageHandle copy = 0;
    thumb_ = host::Image{};
    if (host::CreateThumb(images, file, host::previewBoxPixels(), copy))
      thumb_ = *images.image(copy);
    thumbFile_ = file;
  }
  return *thumb_;
}

void PreviewPanel::request(const fs::path& file, std::optional<std::size_t> fflPosition,
                           const QString& caption) {
  const std::uint64_t generation = ++*generation_;
  picture::PreviewRequest job;
  job.file = file;
  job.fflPosition = fflPosition;
  job.programDir = context_.programDir;
  job.thumb = thumb();
  job.picture = thumbFile_;
  job.cache.enabled = context_.options.previewCacheEnabled;
  job.cache.jpegQuality = context_.options.previewJpgQuality;
  if (context_.options.windowsPluginPreviews) job.foreign = windowsPluginPreview_;
  showCaption(caption.isEmpty() ? QString::fromStdString(file.filename().string()) : caption);
  if (!job.thumb.valid()) {
    // Without a picture every filter would come out as facts about a file it is not.
    picture_->clear();
    facts_->setText(QString("The preview picture %1 cannot be read.")
                        .arg(QString::fromStdString(thumbFile_.string())));
    lastKind_.reset();
    return;
  }
  QPointer<PreviewPanel> self(this);
  auto latest = generation_;
  pool_.start([self, latest, generation, job = std::move(job), types = context_.typeTable,
               options = context_.ffOptions] {
    auto stale = [&] { return latest->load() != generation; };
    if (stale()) return;
    platform::QtImageCodec codec;
    picture::PluginPreview preview =
        picture::makePluginPreview(job, {codec, types, options}, stale);
    if (stale()) return;
    QMetaObject::invokeMethod(
        self.data(),
        [self, generation, preview = std::move(preview)] {
          if (self) self->present(generation, preview);
        },
        Qt::QueuedConnection);
  });
}

void PreviewPanel::showCaption(const QString& text) {
  // A long file name keeps its start and its extension; the whole name is a tooltip away.
  const int room = width() - 2 * (frameWidth() + 6);
  caption_->setText(caption_->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
  caption_->setToolTip(caption_->text() == text ? QString() : text);
}

void PreviewPanel::clear() {
  ++*generation_;
  showCaption("Preview");
  picture_->clear();
  facts_->clear();
  lastKind_.reset();
}

void PreviewPanel::present(std::uint64_t generation, const picture::PluginPreview& preview) {
  if (generation != generation_->load() || preview.kind == picture::PreviewKind::Cancelled) return;
  lastKind_ = preview.kind;
  if (preview.image.valid()) {
    picture_->setPixmap(QPixmap::fromImage(platform::toQImage(preview.image)));
    facts_->clear();
  } else {
    picture_->clear();
    QStringList lines;
    for (const auto& line : preview.facts) lines << QString::fromStdString(line);
    facts_->setText(lines.join('\n'));
  }
  emit shown(preview.kind);
}

}  // namespace qm::gui
