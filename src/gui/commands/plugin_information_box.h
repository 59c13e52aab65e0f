#pragma once
// The "Plugin Information" message: the engine's text, with the rule under the filter lines
// drawn as wide on screen as the widest of them in the box's font.

#include <QFont>
#include <QString>

#include "core/plugins/plugin_info.h"

namespace qm::gui {

// The message text (Qt line breaks) with the rule widened for font.
QString pluginInformationMessage(const plugins::PluginFacts& facts, const QFont& font);

// The font a message box shows its text in.
QFont messageBoxFont();

}  // namespace qm::gui
