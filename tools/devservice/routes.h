#pragma once
// The requests the service answers, one function per group. The first route
// that matches a request answers it, so addRoutes puts the static files last.
#include <httplib.h>

#include "service.h"

namespace tovlo::devservice {

void addCataloguePage(httplib::Server& server, Service& service);  // /soft/select.html
void addLoginPage(httplib::Server& server, Service& service);      // /soft/login2.asp
void addClassPages(httplib::Server& server, Service& service);     // class list, listing, manager, upload form
void addClassActions(httplib::Server& server, Service& service);   // /soft/manageClass_ajax.asp
void addUpload(httplib::Server& server, Service& service);         // POST /soft/addUpLoad.asp
void addStaticFiles(httplib::Server& server, Service& service);    // everything else below /soft/

void addRoutes(httplib::Server& server, Service& service);

}  // namespace tovlo::devservice
