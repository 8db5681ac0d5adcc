#include "x11_clipboard.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "x11_connection.h"
#include "x11_property.h"

namespace tovlo {

namespace {

// How long the owner may take to answer a request, or to send the next chunk.
constexpr std::chrono::milliseconds kOwnerWait{1000};
// Read a delivered property whole, whatever its size.
constexpr long kWholeProperty = 0x1FFFFFFF;
// Ids up to this one are the standard formats; atoms in that range are not
// offered as formats, so an id never means two things.
constexpr ClipboardFormat kLastStandardFormat = 17;

}  // namespace

struct X11Clipboard::Transfer {
    enum class Outcome { Answered, Refused, TimedOut };
    Outcome outcome = Outcome::TimedOut;
    Atom type = None;
    std::string bytes;  // format-32 data as 4-byte items
};

std::unique_ptr<X11Clipboard> X11Clipboard::connect(const char* displayName) {
    std::unique_ptr<X11Connection> x = X11Connection::open(displayName);
    if (!x) return nullptr;
    return std::unique_ptr<X11Clipboard>(new X11Clipboard(std::move(x)));
}

X11Clipboard::X11Clipboard(std::unique_ptr<X11Connection> x) : x_(std::move(x)) {}

X11Clipboard::~X11Clipboard() = default;

void X11Clipboard::readOwnClipboardThrough(Clipboard& toolkit, std::function<bool()> ownedByThisProcess) {
    toolkit_ = &toolkit;
    ownedByThisProcess_ = std::move(ownedByThisProcess);
}

bool X11Clipboard::open() {
    if (isOpen_) return false;
    if (toolkit_ && ownedByThisProcess_ && ownedByThisProcess_()) {
        if (!toolkit_->open()) return false;
        readingToolkit_ = isOpen_ = true;
        return true;
    }

    formats_.clear();
    const X11Atoms& a = x_->atoms();
    if (XGetSelectionOwner(x_->display(), a.clipboard) != None) {
        Transfer targets = convert(a.targets);
        if (targets.outcome == Transfer::Outcome::TimedOut) return false;
        // The owner's own protocol targets are not data formats.
        const Atom protocol[] = {a.targets, a.multiple, a.timestamp, a.saveTargets};
        for (std::size_t i = 0; i + sizeof(std::uint32_t) <= targets.bytes.size(); i += sizeof(std::uint32_t)) {
            std::uint32_t atom = 0;
            std::memcpy(&atom, targets.bytes.data() + i, sizeof atom);
            if (atom <= kLastStandardFormat || std::ranges::find(protocol, atom) != std::end(protocol) || offers(atom))
                continue;
            formats_.push_back(atom);
        }
    }
    isOpen_ = true;
    return true;
}

void X11Clipboard::close() {
    if (readingToolkit_) toolkit_->close();
    readingToolkit_ = isOpen_ = false;
    formats_.clear();
}

ClipboardFormat X11Clipboard::enumFormats(ClipboardFormat after) {
    if (!isOpen_) return 0;
    if (readingToolkit_) return toolkit_->enumFormats(after);
    auto it = formats_.begin();
    if (after != 0) {
        it = std::ranges::find(formats_, after);
        if (it != formats_.end()) ++it;
    }
    return it == formats_.end() ? 0 : *it;
}

bool X11Clipboard::offers(ClipboardFormat format) const {
    return std::ranges::find(formats_, format) != formats_.end();
}

std::string X11Clipboard::formatName(ClipboardFormat format) {
    if (format <= kLastStandardFormat) return {};
    auto known = names_.find(format);
    if (known != names_.end()) return known->second;
    char* name = XGetAtomName(x_->display(), format);  // NULL for an atom that does not exist
    if (!name) return {};
    std::string result = name;
    XFree(name);
    names_.emplace(format, result);
    return result;
}

ClipboardFormat X11Clipboard::formatId(const std::string& name) {
    const Atom atom = XInternAtom(x_->display(), name.c_str(), False);
    names_.emplace(atom, name);
    return static_cast<ClipboardFormat>(atom);
}

std::optional<std::string> X11Clipboard::data(ClipboardFormat format) {
    if (!isOpen_) return std::nullopt;
    if (readingToolkit_) return toolkit_->data(format);
    if (!offers(format)) return std::nullopt;
    Transfer t = convert(format);
    if (t.outcome != Transfer::Outcome::Answered) return std::nullopt;
    return std::move(t.bytes);
}

// Asks the owner to put the selection, converted to `target`, on our window
// and waits for its answer.
X11Clipboard::Transfer X11Clipboard::convert(unsigned long target) {
    Display* d = x_->display();
    const X11Atoms& a = x_->atoms();
    const Window window = x_->ownWindow();
    x_->drainEvents();  // a late answer to an earlier request must not pass for this one
    XDeleteProperty(d, window, a.transfer);
    XConvertSelection(d, a.clipboard, target, a.transfer, window, CurrentTime);

    std::optional<XEvent> notify = x_->waitForEvent(
        [&](const XEvent& e) {
            return e.type == SelectionNotify && e.xselection.requestor == window &&
                   e.xselection.selection == a.clipboard && e.xselection.target == target;
        },
        kOwnerWait);
    Transfer t;
    if (!notify) return t;
    t.outcome = Transfer::Outcome::Refused;
    if (notify->xselection.property == None) return t;

    WindowProperty delivered(d, window, notify->xselection.property, AnyPropertyType, kWholeProperty, true);
    if (!delivered.exists()) return t;
    if (delivered.type() == a.incr) return receiveIncrementally();
    t.outcome = Transfer::Outcome::Answered;
    t.type = delivered.type();
    t.bytes = delivered.wireBytes();
    return t;
}

// INCR: the owner writes the data in chunks, each after we deleted the one
// before; an empty chunk ends the transfer.
X11Clipboard::Transfer X11Clipboard::receiveIncrementally() {
    Display* d = x_->display();
    const X11Atoms& a = x_->atoms();
    const Window window = x_->ownWindow();
    Transfer t;
    for (;;) {
        std::optional<XEvent> written = x_->waitForEvent(
            [&](const XEvent& e) {
                return e.type == PropertyNotify && e.xproperty.window == window && e.xproperty.atom == a.transfer &&
                       e.xproperty.state == PropertyNewValue;
            },
            kOwnerWait);
        if (!written) return Transfer{};  // the owner stopped sending: nothing, rather than part of it
        WindowProperty chunk(d, window, a.transfer, AnyPropertyType, kWholeProperty, true);
        if (chunk.count() == 0) break;
        t.type = chunk.type();
        t.bytes += chunk.wireBytes();
    }
    t.outcome = Transfer::Outcome::Answered;
    return t;
}

}  // namespace tovlo
