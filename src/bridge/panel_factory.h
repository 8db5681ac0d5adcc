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

    // A panel class: the controls of its form, and how it is built.
    void registerPanel(const std::string& className, FormDescription description, Creator creator) {
        classes_.insert_or_assign("Tovlo." + className, Class{std::move(description), std::move(creator)});
    }
    bool knows(const std::string& className) const { return classes_.count("Tovlo." + className) != 0; }
    const FormDescription& formDescription(const std::string& className) const {
        return classes_.at("Tovlo." + className).description;
    }
    std::unique_ptr<Panel> create(const std::string& className, PanelHost& host, std::unique_ptr<Form> form) const {
        return classes_.at("Tovlo." + className).create(host, std::move(form));
    }

    // Registers the panel class P with its form P::formDescription(), built as
    // P(host, form, deps) with a copy of deps.
    template <class P, class Deps>
    void offer(const std::string& className, const Deps& deps) {
        registerPanel(className, P::formDescription(),
                      [deps](PanelHost& host, std::unique_ptr<Form> form) -> std::unique_ptr<Panel> {
                          return std::make_unique<P>(host, std::move(form), deps);
                      });
    }

private:
    struct Class {
        FormDescription description;
        Creator create;
    };
    std::map<std::string, Class> classes_;
};

}  // namespace tovlo
