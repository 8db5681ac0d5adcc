#include "user_message.h"

#include "errors.h"
#include "platform/browser_view.h"

namespace tovlo {

std::string userMessage(const std::exception& error) {
    if (const auto* e = dynamic_cast<const TovloError*>(&error)) {
        switch (e->number()) {
            case kErrFileNotFound: return "找不到需要的文件";
            case kErrFileAccess: return "文件无法读写";
            case kErrKeyExists: return "该项已经存在";
            case kErrSlotTaken: return "请先关闭已经打开的面板";
            default: return "这项操作无法完成";
        }
    }
    if (dynamic_cast<const ScriptError*>(&error)) return "页面没有响应";
    return "程序出了错，这项操作没有完成";
}

}  // namespace tovlo
