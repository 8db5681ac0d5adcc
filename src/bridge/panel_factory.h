#pragma once
// Creates panels by their registered name, "Tovlo." + class name.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "panel.h"
#include "panel_host.h"

namespace tovlo {

class PanelFactory {
public:
    // Builds the panel inside the form it is given (already placed in its slot).
    using Creator = std::function<std::unique_ptr<Panel>(PanelHost& host, std::unique_ptr<Form> form)>;

    void registerPanel(const std::string& className, Creator creator) {
        creators_["Tovlo." + className] = std::move(creator);
    }
    bool knows(const std::string& className) const { return creators_.count("Tovlo." + className) != 0; }
    std::unique_ptr<Panel> create(const std::string& className, PanelHost& host, std::unique_ptr<Form> form) const {
        return creators_.at("Tovlo." + className)(host, std::move(form));
    }

    // Registers the panel class P, built as P(host, form, deps) with a copy
    // of deps.
    template <class P, class Deps>
    void offer(const std::string& className, const Deps& deps) {
        registerPanel(className, [deps](PanelHost& host, std::unique_ptr<Form> form) -> std::unique_ptr<Panel> {
            return std::make_unique<P>(host, std::move(form), deps);
        });
    }

private:
    std::map<std::string, Creator> creators_;
};

}  // namespace tovlo
