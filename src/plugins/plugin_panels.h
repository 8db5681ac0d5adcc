#pragma once
// What the plug-in panel needs of the program, and its registration.
#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "platform/clipboard.h"
#include "platform/platform.h"
#include "plugins/plugin_registry.h"

namespace tovlo {

struct PluginDeps {
    Platform& platform;
    PublicParm& parm;
    DebugForm& debug;
    PluginRegistry& plugins;
    Clipboard& clipboard;
};

// Registers "PlusControl". The objects behind deps must outlive the factory.
void registerPluginPanels(PanelFactory& panels, const PluginDeps& deps);

}  // namespace tovlo
