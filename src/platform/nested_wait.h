#pragma once
// Waits that run events inside an event: a modal message box or dialog, a
// page script's wait, the wait for a program. Whatever was running when such
// a wait began is still on the stack, and must stay alive until the wait
// returns: whoever destroys windows and panels later asks here first. Every
// implementation of such a wait (real or fake) holds a Scope while it waits.
namespace tovlo {

class NestedWaits {
public:
    // How many such waits are running now, one inside the other.
    static int depth() { return depth_; }

    class Scope {
    public:
        Scope() { ++depth_; }
        ~Scope() { --depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

private:
    static inline int depth_ = 0;
};

}  // namespace tovlo
