#include "soft_info.h"

#include "core/paths.h"
#include "qq/qq_clipboard.h"

namespace tovlo {

std::string softInfo(const std::string& key, const PublicParm& parm, Clipboard& clipboard, const TextCodec& codec,
                     EventLoop& loop) {
    if (key == "version") return parm.ver;
    if (key == "userName") return parm.userName;
    if (key == "facePath") return parm.facePath.empty() ? joinPath(parm.app, {"w"}) : parm.facePath;
    if (key == "appPath") return parm.app;
    if (key == "copyPicSrc") {
        const std::string text = getClipboardText(clipboard, codec, findQQRichEditFormat(clipboard, loop));
        return text.empty() ? std::string() : getFilePath(text);
    }
    return {};
}

}  // namespace tovlo
