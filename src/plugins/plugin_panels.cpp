#include "plugin_panels.h"

#include "plugins/plus_control.h"

namespace tovlo {

void registerPluginPanels(PanelFactory& panels, const PluginDeps& deps) {
    panels.offer<PlusControl>("PlusControl", deps);
}

}  // namespace tovlo
