#pragma once
// The usage history: the faces the user inserted most recently, newest
// first, one entry per image, at most historyNub entries kept as they are
// added. Every operation opens the store and closes it before it returns;
// nothing is cached.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/public_parm.h"
#include "platform/history_db.h"

namespace tovlo {

// The cap used when historyNub is not a number (also the shipped default).
inline constexpr std::int16_t kDefaultHistoryCap = 16;

// historyNub as the 16-bit integer it is compared as: an optional sign and
// digits, blanks around them allowed. Anything else, or a value outside the
// 16-bit range, counts as 16.
std::int16_t historyCap(std::string_view historyNub);

// The list text the main page receives: "," followed by "||" + img for
// every image, in the given order.
std::string historyListTextOf(const std::vector<std::string>& images);

class HistoryStore {
public:
    HistoryStore(HistoryDb& db, const PublicParm& parm) : db_(db), parm_(parm) {}

    // Records one use of the image: an earlier row of it goes, then at most
    // one oldest row is evicted to stay within the cap, then the image is
    // added as the newest. Lowering the cap therefore never shrinks the
    // table; it only stops it growing.
    void addHistory(const std::string& img);
    // Every entry's img, newest first.
    std::vector<std::string> historyImages();
    // "," followed by "||" + img for every entry, newest first.
    std::string historyListText();
    // Empties the history.
    void clearAllHistory();

private:
    HistoryDb& db_;
    const PublicParm& parm_;
};

}  // namespace tovlo
