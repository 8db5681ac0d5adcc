#pragma once
// The one web profile every browser view of the program uses: its settings
// and the script that gives every page window.external.
#include <string>

class QUrl;
class QWebEngineProfile;

namespace tovlo {

// The name under which a view's page bridge is published on its web channel.
inline constexpr const char* kPageBridgeName = "tovloHost";

// Created on first use, kept until the application object goes away.
QWebEngineProfile* sharedWebProfile();

// Where the profile keeps what pages store (local storage, cookies) across
// runs of the program; set before the first view is made. Without it the
// profile keeps nothing once the program ends.
void setWebProfileFolder(const std::string& folder);

// The service ("host" or "host:port") whose pages, besides the program's
// local pages, get window.external and may call the program.
void setTrustedServiceHost(const std::string& hostPort);
// Whether the page at this address may call the program.
bool pageMayCallHost(const QUrl& url);

}  // namespace tovlo
