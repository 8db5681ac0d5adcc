#include "upload_deps.h"

#include "upload/add_face_con.h"
#include "upload/addface_over_con.h"

namespace tovlo {

void registerUploadPanels(PanelFactory& panels, const UploadDeps& deps) {
    panels.offer<AddFaceCon>("AddFaceCon", deps);
    panels.offer<AddfaceOverCon>("AddfaceOverCon", deps);
}

}  // namespace tovlo
