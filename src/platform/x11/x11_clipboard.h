#pragma once
// The CLIPBOARD selection read as a clipboard of formats: opening it asks the
// selection's owner for its targets, a format's id is the target's atom and
// its name the atom's name, and reading a format converts the selection to
// that target (large data arrives in INCR chunks). Every wait for the owner
// ends after about a second, so an owner that never answers cannot hang us.
//
// When this process itself owns the clipboard (its toolkit copied a face), a
// request on our connection could only be answered by the toolkit's
// connection, which is served by the very thread that would be waiting. Such
// reads go through the toolkit's own clipboard instead.
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/clipboard.h"

namespace tovlo {

class X11Connection;

class X11Clipboard : public Clipboard {
public:
    // Connects to the display (nullptr: $DISPLAY); nullptr when there is none.
    static std::unique_ptr<X11Clipboard> connect(const char* displayName = nullptr);
    ~X11Clipboard() override;

    // False when the owner did not list its targets in time.
    bool open() override;
    void close() override;
    ClipboardFormat enumFormats(ClipboardFormat after) override;
    std::string formatName(ClipboardFormat format) override;
    std::optional<std::string> data(ClipboardFormat format) override;

    // The id of the format with this name (its atom), so that another reader
    // can hand out the same ids.
    ClipboardFormat formatId(const std::string& name);

    // From now on, while ownedByThisProcess() says so, the clipboard is read
    // through `toolkit` (whose ids must be formatId() of the names).
    void readOwnClipboardThrough(Clipboard& toolkit, std::function<bool()> ownedByThisProcess);

private:
    struct Transfer;
    explicit X11Clipboard(std::unique_ptr<X11Connection> x);
    Transfer convert(unsigned long target);
    Transfer receiveIncrementally();
    bool offers(ClipboardFormat format) const;

    std::unique_ptr<X11Connection> x_;
    bool isOpen_ = false;
    std::vector<ClipboardFormat> formats_;  // the owner's targets while open
    std::unordered_map<ClipboardFormat, std::string> names_;
    Clipboard* toolkit_ = nullptr;
    std::function<bool()> ownedByThisProcess_;
    bool readingToolkit_ = false;  // this opening reads through the toolkit
};

}  // namespace tovlo
