#include "gui/main/app_context.h"

#include "core/preferences/preferences_model.h"
#include "core/preferences/templates.h"

namespace qm::gui {

void loadOptions(AppContext& context) {
  context.options =
      preferences::loadPreferences(context.store, context.programDir, context.options);
  context.typeTable.GetPlugTypes(context.options.pluginTypes);
  context.ffOptions = preferences::ffOptionsFrom(context.options, context.programDir);
}

}  // namespace qm::gui
