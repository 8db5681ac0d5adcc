#include "plugin_registry.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/files.h"
#include "core/ini_cls.h"
#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

std::vector<std::string> PluginRegistry::loadPlugins() {
    std::vector<std::string> leftOut;
    currentPlugin_.clear();
    pluginRegistry_ = HashMap();
    foundIn_.clear();
    // Folder listings come in no particular order; sort by name so the list
    // is the same on every start.
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(fsPath(joinPath(app_, {"plus"})), ec), end; !ec && it != end;
         it.increment(ec))
        names.push_back(pathText(it->path().filename()));
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (contains(name, ".")) continue;
        IniCls ini(codec_);
        ini.setINIFileName(joinPath(app_, {"plus", name, "main.ini"}));
        auto info = std::make_shared<HashMap>();
        for (const char* key : {"id", "name", "infor", "author", "version"})
            info->addStr(key, ini.GetIniKey("main", key));
        const std::string id = ini.GetIniKey("main", "id");
        if (pluginRegistry_.exists(id)) {
            leftOut.push_back("plus/" + name + ": the id \"" + id + "\" is taken by plus/" + foundIn_[id]);
            continue;
        }
        pluginRegistry_.add(id, info);
        foundIn_.emplace(id, name);
    }
    return leftOut;
}

std::string PluginRegistry::pluginListText() const {
    std::string text = "[{}";
    for (const auto& [id, value] : pluginRegistry_.entries()) {
        auto info = std::get<std::shared_ptr<HashMap>>(value);
        // A name or id cannot end its literal: the list stays a list.
        text += ",{id:" + scriptLiteral(id) + ",name:" + scriptLiteral(info->valueStr("name")) + "}";
    }
    return text + "]";
}

std::shared_ptr<HashMap> PluginRegistry::pluginInfo(const std::string& id) const {
    return pluginRegistry_.valueMap(id);
}

std::shared_ptr<HashMap> PluginRegistry::currentPluginInfo() const {
    if (currentPlugin_.empty()) return nullptr;
    return pluginInfo(currentPlugin_);
}

std::string PluginRegistry::pluginFolder() const {
    auto info = currentPluginInfo();
    if (!info) return joinPath(app_, {"plus", std::string()});
    // The name is the folder's name. A name that cannot be one folder inside
    // plus/ (empty, "..", a path) would lead elsewhere: such a plug-in works
    // from the folder its description was found in.
    const std::string name = info->valueStr("name");
    return joinPath(app_, {"plus", isSafeName(name) ? name : foundIn_.at(currentPlugin_)});
}

}  // namespace tovlo
