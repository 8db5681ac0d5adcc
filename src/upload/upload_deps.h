#pragma once
// What the upload panels need of the program, and their registration under
// their class names.
#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "platform/clipboard.h"
#include "platform/platform.h"
#include "platform/tcp_client.h"

namespace tovlo {

struct UploadDeps {
    Platform& platform;
    PublicParm& parm;
    DebugForm& debug;
    Clipboard& clipboard;
    TcpClients& connections;
};

// Registers "AddFaceCon" and "AddfaceOverCon". The objects behind deps must
// outlive the factory.
void registerUploadPanels(PanelFactory& panels, const UploadDeps& deps);

}  // namespace tovlo
