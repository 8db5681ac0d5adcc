#pragma once
// The user's marks on faces, kept in the history database beside the
// history: the favourites (no limit, in the user's order), the user's own
// words for a face (searched like its name), and how often and how lately
// each face was sent, which ranks the frequent faces ("常用"). Faces are
// their image references, as the pages send them. Every operation opens
// the store and closes it before it returns.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/history_db.h"

namespace tovlo {

// The longest words one face may carry (a user's words, not a text).
inline constexpr std::size_t kTagBytes = 200;

// The words as stored: split at blanks and commas (Chinese "，" and "、"
// too), each word once, joined by single spaces, cut at a whole word
// within kTagBytes.
std::string tidyWords(std::string_view words);

// A sent face's rank among the frequent ones: its count, halved for every
// two weeks since it was last sent.
double frequencyScore(std::int64_t count, std::int64_t lastMs, std::int64_t nowMs);

class FaceMarks {
public:
    explicit FaceMarks(HistoryDb& db) : db_(db) {}

    std::vector<std::string> favourites();
    // Adds the face at the end; a face already there stays where it is.
    void addFavourite(const std::string& img);
    void removeFavourite(const std::string& img);
    // Moves a favourite to the place (0 is the first; past the end, the
    // last). A face that is no favourite is refused (TovloError).
    void moveFavourite(const std::string& img, std::size_t to);

    // The words of every face that has some.
    std::map<std::string, std::string> tags();
    // Replaces the face's words (tidied); no words take them away.
    void setTags(const std::string& img, std::string_view words);

    // One more sending of the face, now.
    void recordUse(const std::string& img, std::int64_t nowMs);
    // The faces sent, the highest score first (the latest first among
    // equals), at most limit of them.
    std::vector<std::string> frequent(std::int64_t nowMs, std::size_t limit);

private:
    // Reads the favourites, changes them and writes them back as one change.
    template <class Change>
    void changeFavourites(Change change);

    HistoryDb& db_;
};

}  // namespace tovlo
