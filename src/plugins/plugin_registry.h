#pragma once
// The registry of installed plug-ins: one folder per plug-in under plus/,
// each described by its main.ini (section "main": id, name, infor, author,
// version).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/hash_map.h"
#include "platform/text_codec.h"

namespace tovlo {

class PluginRegistry {
public:
    PluginRegistry(const TextCodec& codec, std::string app) : codec_(codec), app_(std::move(app)) {}

    // Rebuilds the registry from the plus/ folder. A plug-in whose id another
    // one has already taken (two without an id alike) is left out: the
    // folders left out are returned, with why.
    std::vector<std::string> loadPlugins();
    // "[{}" then ",{id:'..',name:'..'}" per plug-in in registry order, then "]".
    std::string pluginListText() const;
    std::shared_ptr<HashMap> pluginInfo(const std::string& id) const;
    // The description of the open plug-in, or null when none is open.
    std::shared_ptr<HashMap> currentPluginInfo() const;
    void openPlugin(const std::string& id) { currentPlugin_ = id; }
    const std::string& currentPlugin() const { return currentPlugin_; }
    // App/plus/<name of the open plug-in>; when the name is not one folder
    // name, the folder its main.ini was found in.
    std::string pluginFolder() const;
    const HashMap& registry() const { return pluginRegistry_; }

private:
    const TextCodec& codec_;
    std::string app_;
    HashMap pluginRegistry_;
    std::string currentPlugin_;
    std::map<std::string, std::string> foundIn_;  // id -> folder under plus/
};

}  // namespace tovlo
