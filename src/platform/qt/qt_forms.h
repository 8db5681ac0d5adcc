#pragma once
// The program's own windows on Qt widgets. A form lays out its controls in
// the order the program first reaches them by name, one under the other.
#include "platform/forms.h"

namespace tovlo {

class QtForms : public Forms {
public:
    std::unique_ptr<Form> create(const std::string& formName) override;
};

}  // namespace tovlo
