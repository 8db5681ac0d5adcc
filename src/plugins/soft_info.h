#pragma once
// What a plug-in page may ask about the program (the page command
// "getSoftInfor"): version, user, face folder, program folder and the
// picture last copied in a QQ chat.
#include <string>

#include "core/public_parm.h"
#include "platform/clipboard.h"
#include "platform/event_loop.h"
#include "platform/text_codec.h"

namespace tovlo {

// The value for the key; "" for a key the program does not answer. Paths
// are given as they are: the page call that carries them escapes every
// value as a script string literal, so the page receives exactly the path.
std::string softInfo(const std::string& key, const PublicParm& parm, Clipboard& clipboard, const TextCodec& codec,
                     EventLoop& loop);

}  // namespace tovlo
