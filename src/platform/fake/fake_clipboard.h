#pragma once
// A clipboard holding the formats a test puts on it, in order. Like the real
// one it lists and hands out data only while it is open, and it can refuse
// to open.
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"

namespace tovlo {

class FakeClipboard : public Clipboard {
public:
    struct Format {
        ClipboardFormat id;
        std::string name;                  // registered name; "" for standard formats
        std::optional<std::string> bytes;  // nothing: listed but without data
    };

    bool open() override {
        if (refuseOpen || isOpen) return false;
        isOpen = true;
        return true;
    }
    void close() override { isOpen = false; }
    ClipboardFormat enumFormats(ClipboardFormat after) override {
        if (!isOpen) return 0;
        std::size_t i = 0;
        if (after != 0) {
            while (i < formats.size() && formats[i].id != after) ++i;
            ++i;
        }
        return i < formats.size() ? formats[i].id : 0;
    }
    std::string formatName(ClipboardFormat id) override {
        const Format* f = find(id);
        return f ? f->name : std::string();
    }
    std::optional<std::string> data(ClipboardFormat id) override {
        const Format* f = isOpen ? find(id) : nullptr;
        return f ? f->bytes : std::nullopt;
    }

    void put(ClipboardFormat id, std::string name, std::optional<std::string> bytes) {
        formats.push_back({id, std::move(name), std::move(bytes)});
    }

    std::vector<Format> formats;
    bool refuseOpen = false;
    bool isOpen = false;

private:
    const Format* find(ClipboardFormat id) const {
        for (const Format& f : formats)
            if (f.id == id) return &f;
        return nullptr;
    }
};

}  // namespace tovlo
