#include "core/editor/preview_run.h"

#include "core/ff/plugin_writer.h"
#include "core/host/image_library.h"
#include "core/host/plugin_host.h"
#include "core/host/plugin_invoke.h"

namespace qm::editor {
namespace {

// The preview adopts its picture, so nothing is ever decoded or encoded here.
class NoCodec final : public host::ImageCodec {
 public:
  std::optional<host::Image> read(const std::filesystem::path&) override { return {}; }
  bool write(const host::Image&, const std::filesystem::path&) override { return false; }
  host::Image scale(const host::Image& image, int, int) override { return image; }
};

// The host's messages come back to the window as text instead of boxes from a worker.
class CollectingPrompter final : public Prompter {
 public:
  std::string text;
  void inform(std::string_view t, std::string_view) override { keep(t); }
  void warn(std::string_view t, std::string_view) override { keep(t); }
  void error(std::string_view t, std::string_view) override { keep(t); }
  Button ask(std::string_view t, std::string_view, Buttons, Icon) override {
    keep(t);
    return Button::Cancel;
  }
  std::optional<std::string> askText(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<FolderChoice> chooseFolder(const FolderRequest&) override { return std::nullopt; }
  OverwriteAnswer overwrite(const OverwriteQuestion&) override { return OverwriteAnswer::Cancel; }

 private:
  void keep(std::string_view t) {
    if (text.empty()) text = t;
  }
};

}  // namespace

PreviewResult runPreview(const PreviewRequest& request, formula::ThreadPool* pool) {
  if (!request.picture) return {std::nullopt, "There is no preview picture."};
  const std::filesystem::path folder = request.options.programDir / kPreviewFolder;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::filesystem::remove(folder / "temp.dll", ec);
  ff::FFRecord rec = request.record;
  auto written = ff::Write8bf(folder, true, false, rec, request.options);
  if (written.written.empty()) return {std::nullopt, written.error};

  NoCodec codec;
  host::ImageLibrary images(codec);
  host::PluginHost pluginHost(images, pool);
  pluginHost.setCancel(request.cancelled);
  CollectingPrompter prompter;
  host::HostSession session{images, pluginHost, prompter, images.adopt(*request.picture), 0};
  if (!host::PluginInvoke(session, folder, "temp.dll", nullptr, false, 0)) {
    const auto& run = pluginHost.lastRun();
    if (run.outcome == host::RunOutcome::Cancelled) return {std::nullopt, {}};
    if (run.outcome == host::RunOutcome::BadFormula)
      return {std::nullopt, host::describe(run.error)};
    return {std::nullopt, prompter.text.empty() ? "The preview could not be run." : prompter.text};
  }
  // The library is dropped right after; its picture is handed on without a copy.
  return {std::move(*images.image(session.workImage)), {}};
}

}  // namespace qm::editor
