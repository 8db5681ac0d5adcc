#pragma once
// Creates panels by their registered name, "Tovlo." + class name.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "panel.h"

namespace tovlo {

class MainForm;

class PanelFactory {
public:
    // Builds the panel inside the form it is given (already placed in its slot).
    using Creator = std::function<std::unique_ptr<Panel>(MainForm& main, std::unique_ptr<Form> form)>;

    void registerPanel(const std::string& className, Creator creator) {
        creators_["Tovlo." + className] = std::move(creator);
    }
    bool knows(const std::string& className) const { return creators_.count("Tovlo." + className) != 0; }
    std::unique_ptr<Panel> create(const std::string& className, MainForm& main,
                                  std::unique_ptr<Form> form) const {
        return creators_.at("Tovlo." + className)(main, std::move(form));
    }

    // Registers the panel class P, built as P(main, form, deps) with a copy
    // of deps.
    template <class P, class Deps>
    void offer(const std::string& className, const Deps& deps) {
        registerPanel(className, [deps](MainForm& main, std::unique_ptr<Form> form) -> std::unique_ptr<Panel> {
            return std::make_unique<P>(main, std::move(form), deps);
        });
    }

private:
    std::map<std::string, Creator> creators_;
};

}  // namespace tovlo
