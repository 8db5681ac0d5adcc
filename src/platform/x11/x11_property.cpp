#include "x11_property.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <cstring>

namespace tovlo {

WindowProperty::WindowProperty(Display* display, Window window, Atom property, Atom type, long maxLongs, bool remove) {
    unsigned long bytesAfter = 0;
    readable_ = XGetWindowProperty(display, window, property, 0, maxLongs, remove ? True : False, type, &type_,
                                   &format_, &count_, &bytesAfter, &data_) == Success;
    if (!readable_) {
        type_ = None;
        count_ = 0;
        data_ = nullptr;
    }
}

WindowProperty::~WindowProperty() {
    if (data_) XFree(data_);
}

std::string_view WindowProperty::bytes() const {
    if (format_ != 8 || !data_) return {};
    return {reinterpret_cast<const char*>(data_), count_};
}

unsigned long WindowProperty::item(unsigned long index) const {
    if (format_ != 32 || !data_ || index >= count_) return 0;
    return reinterpret_cast<const unsigned long*>(data_)[index];
}

std::string WindowProperty::wireBytes() const {
    if (!data_) return {};
    if (format_ == 8) return std::string(bytes());
    if (format_ == 16) return std::string(reinterpret_cast<const char*>(data_), count_ * sizeof(std::int16_t));
    std::string out(count_ * sizeof(std::uint32_t), '\0');
    for (unsigned long i = 0; i < count_; ++i) {
        const auto value = static_cast<std::uint32_t>(item(i));
        std::memcpy(out.data() + i * sizeof value, &value, sizeof value);
    }
    return out;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

std::string_view upToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::string compoundTextToUtf8(Display* display, const WindowProperty& property) {
    std::string_view raw = property.bytes();
    XTextProperty text{};
    text.value = reinterpret_cast<unsigned char*>(const_cast<char*>(raw.data()));
    text.encoding = property.type();
    text.format = 8;
    text.nitems = raw.size();
    char** list = nullptr;
    int n = 0;
    std::string out;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &n) >= Success && list) {
        if (n > 0) out = list[0];
        XFreeStringList(list);
    } else {
        out = latin1ToUtf8(upToNul(raw));  // keeps at least the plain-ASCII parts readable
    }
    return out;
}

}  // namespace

std::string propertyText(Display* display, const WindowProperty& property, Atom compoundText) {
    if (property.format() != 8) return {};
    if (property.type() == compoundText) return compoundTextToUtf8(display, property);
    if (property.type() == XA_STRING) return latin1ToUtf8(upToNul(property.bytes()));
    // UTF8_STRING, and any type we do not know, is taken as UTF-8.
    return std::string(upToNul(property.bytes()));
}

}  // namespace tovlo
