#pragma once
// Everything the request handlers share: the data folder, the GBK codec and
// the two stores. Handlers run on several threads; the stores lock themselves.
#include <chrono>
#include <string>

#include "accounts.h"
#include "data_folder.h"
#include "face_classes.h"
#include "platform/posix/iconv_codec.h"

namespace tovlo::devservice {

struct Service {
    Service(const std::string& root, int listenPort)
        : folder{root}, port(listenPort), accounts(folder, codec), classes(folder, codec) {}

    DataFolder folder;
    int port;
    IconvCodec codec;
    // How long every answer for a plain file of soft/ waits before it goes
    // out (--delay-ms); zero for none.
    std::chrono::milliseconds fileDelay{0};
    AccountStore accounts;
    ClassStore classes;
};

}  // namespace tovlo::devservice
