#pragma once
// The system clipboard for the commands: the plugin list writes to it, Convert reads a
// Filter Factory source from it.

#include <optional>
#include <string>

#include "core/plugins/plugin_list.h"

namespace qm::gui {

class QtClipboard final : public plugins::ClipboardPort {
 public:
  void clear() override;
  void setText(std::string_view text) override;
  // The clipboard's text (UTF-8), nullopt when it holds none.
  std::optional<std::string> text() const;
};

}  // namespace qm::gui
