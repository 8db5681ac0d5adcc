#pragma once
// The whole fake machine for tests, with the real text codec (it is
// deterministic and needs no display).
#include "fake_browser_view.h"
#include "fake_event_loop.h"
#include "fake_forms.h"
#include "fake_services.h"
#include "platform/native_codec.h"
#include "platform/platform.h"

namespace tovlo {

struct FakePlatform {
    FakeEventLoop loop;
    FakeUrlFetch fetch;
    NativeCodec codec;
    FakeMessageBox messages;
    FakeProcesses processes;
    FakeForms forms;
    FakeTrayIcon tray;
    Platform platform{loop, fetch, codec, messages, processes, forms, tray};
};

}  // namespace tovlo
