#pragma once
// Asynchronous URL reads on Qt Network. URLs go on the wire in the ANSI code
// page, percent-encoded. A read whose connection or transfer stalls for the
// stall time-out fails; so does an HTTP error status, a refused connection,
// a body over its bound or a body shorter than announced: only a whole body
// ends with status 6.
#include <memory>

#include "platform/async_url_read.h"
#include "platform/read_limits.h"
#include "platform/text_codec.h"

class QNetworkAccessManager;

namespace tovlo {

class QtAsyncUrlReads : public AsyncUrlReads {
public:
    explicit QtAsyncUrlReads(const TextCodec& codec, int stallTimeoutMs = limits::kStallMs);
    ~QtAsyncUrlReads() override;
    // The readers share one network manager (and its connections); they must
    // not outlive this object.
    std::unique_ptr<AsyncUrlRead> create() override;

private:
    const TextCodec& codec_;
    int stallTimeoutMs_;
    std::unique_ptr<QNetworkAccessManager> manager_;
};

}  // namespace tovlo
