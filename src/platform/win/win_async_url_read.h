#pragma once
// Asynchronous URL reads on WinINet. Each read runs on a thread of its own
// and posts its progress and its end to a message-only window of the
// thread that made the readers, where they are told as events of the loop.
// A read that makes no progress for the stall time fails; a body over its
// bound fails; a cancelled read is told nothing more.
#include <memory>

#include "platform/async_url_read.h"
#include "platform/text_codec.h"

namespace tovlo {

class WinAsyncUrlReads : public AsyncUrlReads {
public:
    WinAsyncUrlReads(const TextCodec& codec, int stallTimeoutMs);
    ~WinAsyncUrlReads() override;
    WinAsyncUrlReads(const WinAsyncUrlReads&) = delete;
    WinAsyncUrlReads& operator=(const WinAsyncUrlReads&) = delete;

    std::unique_ptr<AsyncUrlRead> create() override;

    struct Mailbox;

private:
    const TextCodec& codec_;
    int stallTimeoutMs_;
    std::shared_ptr<Mailbox> mailbox_;
};

}  // namespace tovlo
