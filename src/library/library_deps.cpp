#include "library_deps.h"

#include "library/class_manager.h"
#include "library/my_face_down_loader.h"
#include "library/public_face_down_loader.h"
#include "library/public_face_process.h"

namespace tovlo {

namespace {

template <class P>
void offer(PanelFactory& panels, const char* className, const LibraryDeps& deps) {
    panels.registerPanel(className, [deps](MainForm& main, std::unique_ptr<Form> form) -> std::unique_ptr<Panel> {
        return std::make_unique<P>(main, std::move(form), deps);
    });
}

}  // namespace

void registerLibraryPanels(PanelFactory& panels, const LibraryDeps& deps) {
    offer<MyFaceDownLoader>(panels, "MyFaceDownLoader", deps);
    offer<PublicFaceDownLoader>(panels, "PublicFaceDownLoader", deps);
    offer<PublicFaceProcess>(panels, "PublicFaceProcess", deps);
    offer<ClassManager>(panels, "ClassManager", deps);
}

}  // namespace tovlo
