#pragma once
// The one web profile every browser view of the program uses: its settings
// and the script that gives every page window.external.
class QWebEngineProfile;

namespace tovlo {

// The name under which a view's page bridge is published on its web channel.
inline constexpr const char* kPageBridgeName = "tovloHost";

// Created on first use, kept until the application object goes away.
QWebEngineProfile* sharedWebProfile();

}  // namespace tovlo
