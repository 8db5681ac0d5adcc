#pragma once
// Reading what QQ puts on the clipboard when the user copies a picture in a
// chat: a block of its registered format "QQ_RichEdit_Format", text in which
// the picture appears as filepath="<full path of the file>".
#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "platform/event_loop.h"
#include "platform/text_codec.h"

namespace tovlo {

// The name part QQ's format is recognised by (anywhere in the format's name).
inline constexpr std::string_view kQQRichEditFormat = "QQ_RichEdit_Format";

// The first format on the clipboard whose name contains "QQ_RichEdit_Format";
// 0 when there is none or the clipboard cannot be opened. The event loop runs
// once per format looked at.
ClipboardFormat findQQRichEditFormat(Clipboard& clipboard, EventLoop& loop);

// The whole data block of the format, decoded from the ANSI code page (GBK);
// "" when the format is 0 or absent or the clipboard cannot be opened.
std::string getClipboardText(Clipboard& clipboard, const TextCodec& codec, ClipboardFormat format);

// The fixed name of a standard format (1 to 17, "CF_Text" ...), else the
// registered name, at most 99 characters.
std::string getFormatName(Clipboard& clipboard, ClipboardFormat format);

// The path in the first filepath="..." attribute of the text, without the
// quotes; "" when there is no such attribute or its closing quote is missing.
std::string getFilePath(std::string_view text);

}  // namespace tovlo
