#include "routes.h"

namespace tovlo::devservice {

void addRoutes(httplib::Server& server, Service& service) {
    addCataloguePage(server, service);
    addLoginPage(server, service);
    addClassPages(server, service);
    addClassActions(server, service);
    addUpload(server, service);
    addStaticFiles(server, service);
}

}  // namespace tovlo::devservice
