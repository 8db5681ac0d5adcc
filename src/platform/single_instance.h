#pragma once
// One running copy of the program per program folder.
namespace tovlo {

class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when this process now holds the lock; false when another copy does.
    virtual bool acquire() = 0;
};

}  // namespace tovlo
