#pragma once
// Reading one property of a window, and decoding the text properties that
// titles are kept in.
#include <X11/Xlib.h>

#include <string>
#include <string_view>

namespace tovlo {

// A property as the server returned it, held in Xlib's buffer (no copy).
class WindowProperty {
public:
    // Reads at most maxLongs 32-bit units of the property; `type` may be
    // AnyPropertyType. With `remove` the property is deleted once read whole.
    WindowProperty(Display* display, Window window, Atom property, Atom type, long maxLongs, bool remove = false);
    ~WindowProperty();
    WindowProperty(const WindowProperty&) = delete;
    WindowProperty& operator=(const WindowProperty&) = delete;

    // False when the request failed, for example because the window is gone.
    bool readable() const { return readable_; }
    // The property is set on the window (of whatever type).
    bool exists() const { return type_ != None; }
    Atom type() const { return type_; }
    int format() const { return format_; }
    unsigned long count() const { return count_; }
    // Items of a format-8 property.
    std::string_view bytes() const;
    // One item of a format-32 property (Xlib keeps those as longs).
    unsigned long item(unsigned long index) const;
    // The data as it travels on the wire: format-32 items as 4 bytes each.
    std::string wireBytes() const;

private:
    bool readable_ = false;
    Atom type_ = None;
    int format_ = 0;
    unsigned long count_ = 0;
    unsigned char* data_ = nullptr;
};

// ISO 8859-1 text (the STRING type) as UTF-8.
std::string latin1ToUtf8(std::string_view latin1);

// A window's text property in UTF-8: UTF8_STRING as it is, STRING from
// Latin-1, COMPOUND_TEXT through Xlib's converter. The text ends at its
// first NUL.
std::string propertyText(Display* display, const WindowProperty& property, Atom compoundText);

}  // namespace tovlo
