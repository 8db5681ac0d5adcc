#include "library_fixture.h"

namespace tovlo::test {

void LibraryTest::startLibrary() {
    start();
    registerLibraryPanels(panels, LibraryDeps{fake.platform, *parm, *debug, *plugins, net, images});
}

}  // namespace tovlo::test
