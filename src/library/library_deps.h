#pragma once
// What the face library's panels need of the program, and their
// registration under their class names.
#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "platform/async_url_read.h"
#include "platform/images.h"
#include "platform/platform.h"
#include "platform/read_limits.h"
#include "plugins/plugin_registry.h"

namespace tovlo {

struct LibraryDeps {
    Platform& platform;
    PublicParm& parm;
    DebugForm& debug;
    PluginRegistry& plugins;
    AsyncUrlReads& reads;
    Images& images;
    // The whole of one download (a pack, a class page): see limits::kBatchTotalMs.
    int batchTotalMs = limits::kBatchTotalMs;
};

// Registers "MyFaceDownLoader", "PublicFaceDownLoader", "PublicFaceProcess"
// and "ClassManager". The objects behind deps must outlive the factory.
void registerLibraryPanels(PanelFactory& panels, const LibraryDeps& deps);

}  // namespace tovlo
