// The service's version list (update.txt) that both programs follow from
// version to version, and the news shown for the version offered.
//
// Input: the version up to a NUL, then the list's (and the news') bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "fuzz_input.h"
#include "update/need_update.h"
#include "update/version_list.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

// The list's entries read by hand: blanks and line breaks around the list
// dropped, cut at every "-", without the empty piece after a closing "-".
std::vector<std::string> entriesOf(std::string_view list) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!list.empty() && isSpace(list.front())) list.remove_prefix(1);
    while (!list.empty() && isSpace(list.back())) list.remove_suffix(1);
    std::vector<std::string> entries(1);
    for (char c : list) {
        if (c == '-')
            entries.emplace_back();
        else
            entries.back().push_back(c);
    }
    if (entries.back().empty()) entries.pop_back();
    return entries;
}

void checkStep(std::string_view list, std::string_view version) {
    const VersionStep step = stepFrom(list, version);
    const std::vector<std::string> entries = entriesOf(list);
    std::size_t at = 0;
    while (at < entries.size() && entries[at] != version) ++at;
    const bool listed = !version.empty() && at < entries.size();

    if (step.kind == VersionStep::kNext) {
        CHECK(listed && at + 1 < entries.size(), "a next step from a version that is not listed, or is the last");
        CHECK(step.next == entries[at + 1] && !step.next.empty(),
              "next is " + shown(step.next) + ", the entry after the version is " + shown(entries[at + 1]));
    } else if (step.kind == VersionStep::kLast) {
        CHECK(listed && at + 1 == entries.size(), "last step from a version that is not the last entry");
    } else {
        CHECK(step.kind == VersionStep::kUnknown, "a step of no known kind");
        // Unknown: not listed, or followed by an empty entry ("1.0--1.1").
        CHECK(!listed || (at + 1 < entries.size() && entries[at + 1].empty()),
              "a listed version with a next entry gives no step");
    }
}

// The news is the text from the version's first mention, with each CR LF
// as "<br />" and nothing else changed.
void checkNews(std::string_view news, std::string_view version) {
    const std::string part = newsPart(news, version);
    const std::size_t at = version.empty() ? std::string_view::npos : news.find(version);
    if (at == std::string_view::npos) {
        CHECK(part.empty(), "news " + shown(part) + " for a version the text does not mention");
        return;
    }
    const std::string_view from = news.substr(at);
    std::size_t i = 0, j = 0;
    while (i < from.size()) {
        if (from.substr(i, 2) == "\r\n") {
            CHECK(std::string_view(part).substr(j, 6) == "<br />", "a line break kept at byte " + std::to_string(i));
            i += 2;
            j += 6;
        } else {
            CHECK(j < part.size() && part[j] == from[i], "the news differs at byte " + std::to_string(i));
            ++i;
            ++j;
        }
    }
    CHECK(j == part.size(), "the news is longer than the text it comes from");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = asText(data, size);
    const std::string_view version = takeField(input);
    checkStep(input, version);
    checkNews(input, version);
    return 0;
}
