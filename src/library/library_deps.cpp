#include "library_deps.h"

#include "library/class_manager.h"
#include "library/my_face_down_loader.h"
#include "library/public_face_down_loader.h"
#include "library/public_face_process.h"

namespace tovlo {

void registerLibraryPanels(PanelFactory& panels, const LibraryDeps& deps) {
    panels.offer<MyFaceDownLoader>("MyFaceDownLoader", deps);
    panels.offer<PublicFaceDownLoader>("PublicFaceDownLoader", deps);
    panels.offer<PublicFaceProcess>("PublicFaceProcess", deps);
    panels.offer<ClassManager>("ClassManager", deps);
}

}  // namespace tovlo
