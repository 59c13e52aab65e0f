#include "gui/main/app_context.h"

namespace qm::gui {

void loadOptions(AppContext& context) {
  context.options = settings::loadOptions(context.store, context.options);
  context.typeTable.GetPlugTypes(plugins::loadPlugTypes(context.programDir));
  ff::FFOptions& ff = context.ffOptions;
  ff.programDir = context.programDir;
  ff.noOptimize = context.options.noFFOptimize;
  int used = context.options.usedFF;
  ff.usedFF = used >= 0 && used <= 4 ? static_cast<ff::FFTemplate>(used) : ff::FFTemplate::FF30;
  ff.editorPlugin = context.options.editorPlugin[0];
}

}  // namespace qm::gui
