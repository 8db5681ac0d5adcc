#include "history_store.h"

#include <charconv>

#include "core/text.h"

namespace tovlo {

std::int16_t historyCap(std::string_view historyNub) {
    std::string_view digits = trimBlanks(historyNub);
    if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
    std::int16_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) return kDefaultHistoryCap;
    return value;
}

void HistoryStore::addHistory(const std::string& img) {
    const std::int16_t cap = historyCap(parm_.historyNub);
    auto db = db_.open();
    // Moving a face to the front is one change: cut short, it leaves the
    // history as it was, never without the face.
    db->begin();
    db->deleteImage(img);
    if (db->count() >= cap) db->deleteOldest();
    db->insert(img);
    db->commit();
}

std::vector<std::string> HistoryStore::historyImages() { return db_.open()->listNewestFirst(); }

std::string HistoryStore::historyListText() { return historyListTextOf(historyImages()); }

std::string historyListTextOf(const std::vector<std::string>& images) {
    std::string list = ",";
    for (const std::string& img : images) list += "||" + img;
    return list;
}

void HistoryStore::clearAllHistory() { db_.open()->clear(); }

}  // namespace tovlo
