// The service's answer to an upload as it arrives over TCP, in pieces of
// any size: the result is the text of "call(...)", and the answer is read
// no further than its bound.
//
// Input: one byte choosing the piece sizes, one byte saying how many times
// the rest is sent over (so answers past the bound come from small inputs),
// then the answer's bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "check.h"
#include "fuzz_input.h"
#include "upload/upload_request.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

constexpr std::size_t kBound = static_cast<std::size_t>(limits::kUploadAnswerBytes);

// The result read by hand: between the first "call(" and the first ")"
// after it.
std::optional<std::string> resultOf(std::string_view answer) {
    const std::size_t call = answer.find("call(");
    if (call == std::string_view::npos) return std::nullopt;
    const std::size_t close = answer.find(')', call + 5);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(answer.substr(call + 5, close - call - 5));
}

// Piece sizes from a small generator: mostly short pieces, now and then an
// empty one or a long one.
class PieceSizes {
public:
    explicit PieceSizes(std::uint8_t seed) : state_(seed * 2654435761u + 1) {}
    std::size_t next() {
        state_ = state_ * 1103515245u + 12345u;
        const std::uint32_t r = state_ >> 16;
        if (r % 16 == 0) return 0;
        if (r % 16 == 1) return 1000 + r % 20000;
        return 1 + r % 9;
    }

private:
    std::uint32_t state_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = asText(data, size);
    PieceSizes sizes(takeByte(input));
    const std::size_t repeats = 1 + takeByte(input) % 64;
    std::string whole;
    for (std::size_t i = 0; i < repeats; ++i) whole.append(input);

    UploadAnswer answer;
    std::size_t offered = 0;  // bytes handed over before the answer stopped waiting
    UploadAnswer::State state = UploadAnswer::State::waiting;
    while (state == UploadAnswer::State::waiting && offered < whole.size()) {
        const std::size_t n = std::min(sizes.next(), whole.size() - offered);
        state = answer.add(std::string_view(whole).substr(offered, n));
        if (state != UploadAnswer::State::tooLong) offered += n;
    }
    CHECK(answer.state() == state, "the state changed by itself");
    CHECK(offered <= kBound, std::to_string(offered) + " bytes taken in, past the bound");
    CHECK(answer.value().size() <= kBound, "a result of " + std::to_string(answer.value().size()) + " bytes");
    // Once complete or too long, more bytes change nothing.
    if (state != UploadAnswer::State::waiting) {
        CHECK(answer.add("call(x)") == state, "more bytes after the end changed the state");
    }

    // The result read in pieces is the result of what was taken in; when
    // the whole answer fits the bound, the same as reading it at once.
    const std::optional<std::string> expected = resultOf(std::string_view(whole).substr(0, offered));
    if (state == UploadAnswer::State::complete) {
        CHECK(expected && answer.value() == *expected,
              "read in pieces as " + shown(answer.value()) + ", expected " + (expected ? shown(*expected) : "none"));
    } else {
        CHECK(!expected, "a complete result " + shown(*expected) + " was not seen in pieces");
    }
    if (whole.size() <= kBound) {
        const std::optional<std::string> atOnce = uploadResultIn(whole);
        CHECK(atOnce == resultOf(whole), "read at once as " + (atOnce ? shown(*atOnce) : std::string("none")));
        CHECK(state != UploadAnswer::State::tooLong, "an answer within the bound was too long");
        CHECK(atOnce ==
                  (state == UploadAnswer::State::complete ? std::optional<std::string>(answer.value()) : std::nullopt),
              "pieces and the whole disagree");
    } else {
        CHECK(!uploadResultIn(whole), "an answer past the bound gave a result at once");
    }
    return 0;
}
