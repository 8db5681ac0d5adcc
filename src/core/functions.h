#pragma once
// The shared utilities every part of the program uses.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "debug_form.h"
#include "platform/browser_view.h"
#include "platform/platform.h"

namespace tovlo {

// The whole file as text (decoded from the ANSI code page). Throws
// FileNotFoundError (error 53) when the file does not exist.
std::string readTextFile(const TextCodec& codec, const std::string& path);
// Creates or replaces the file with the text (encoded to the ANSI code
// page), whole or not at all. Throws TovloError when it cannot be written.
void writeTextFile(const TextCodec& codec, const std::string& path, const std::string& text);
// Creates every missing folder of the path, from the left; existing folders
// and failures are ignored.
void makeDirectories(const std::string& path);
std::string joinArray(const std::vector<std::string>& parts);
// Runs the script in the view and waits for it; a failing script raises
// ScriptError to the caller.
void runPageScript(BrowserView& view, const std::string& code);
// Calls the page function with the arguments, each as a string literal
// (escaped: a value can never end its literal and run as script), and waits.
void callPageFunction(BrowserView& view, std::string_view function, std::initializer_list<std::string_view> args);
// Local time as "HH:MM:SS:SS" (hour, minute, second, then the second again).
std::string timeStamp(std::int64_t epochMs);
// Local date and time in the system's usual text form, "2026/12/7 14:05:09".
std::string dateTimeText(std::int64_t epochMs);
// The URL with "&t=" and a time stamp appended when it holds "?".
std::string stampedUrl(const std::string& url, std::int64_t epochMs);

// fetchUrlText: downloads the URL (stamped as above) and returns its text;
// the empty text on any failure.
std::string fetchUrlText(Platform& platform, const std::string& url);

}  // namespace tovlo
