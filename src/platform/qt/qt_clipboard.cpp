#include "qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tovlo {

bool QtClipboard::ownsClipboard() const { return QGuiApplication::clipboard()->ownsClipboard(); }

bool QtClipboard::open() {
    if (isOpen_) return false;
    formats_.clear();
    if (const QMimeData* mime = QGuiApplication::clipboard()->mimeData()) {
        for (const QString& f : mime->formats()) {
            std::string name = f.toStdString();
            const ClipboardFormat id = formatId_(name);
            formats_.emplace_back(id, std::move(name));
        }
    }
    isOpen_ = true;
    return true;
}

void QtClipboard::close() {
    isOpen_ = false;
    formats_.clear();
}

ClipboardFormat QtClipboard::enumFormats(ClipboardFormat after) {
    if (!isOpen_) return 0;
    std::size_t i = 0;
    if (after != 0) {
        while (i < formats_.size() && formats_[i].first != after) ++i;
        ++i;
    }
    return i < formats_.size() ? formats_[i].first : 0;
}

const std::string* QtClipboard::nameOf(ClipboardFormat format) const {
    for (const auto& [id, name] : formats_)
        if (id == format) return &name;
    return nullptr;
}

std::string QtClipboard::formatName(ClipboardFormat format) {
    const std::string* name = nameOf(format);
    return name ? *name : std::string();
}

std::optional<std::string> QtClipboard::data(ClipboardFormat format) {
    const std::string* name = isOpen_ ? nameOf(format) : nullptr;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!name || !mime) return std::nullopt;
    const QString mimeType = QString::fromStdString(*name);
    if (!mime->hasFormat(mimeType)) return std::nullopt;
    const QByteArray bytes = mime->data(mimeType);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace tovlo
