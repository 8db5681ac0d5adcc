#pragma once
// Everything the program's logic uses of the machine, as one bundle of
// references; the application picks the implementations (real or fake).
#include "event_loop.h"
#include "forms.h"
#include "message_box.h"
#include "processes.h"
#include "text_codec.h"
#include "tray_icon.h"
#include "url_fetch.h"

namespace tovlo {

struct Platform {
    EventLoop& loop;
    UrlFetch& fetch;
    const TextCodec& codec;
    MessageBox& messages;
    Processes& processes;
    Forms& forms;
    TrayIcon& tray;
};

}  // namespace tovlo
