#include "face_marks.h"

#include <algorithm>
#include <cmath>

#include "core/errors.h"
#include "core/text.h"

namespace tovlo {

namespace {

constexpr double kHalfLifeMs = 14.0 * 24 * 60 * 60 * 1000;

}  // namespace

std::string tidyWords(std::string_view words) {
    std::string text(words);
    for (const char* comma : {"，", "、", ",", "\t", "\r", "\n", "\xe3\x80\x80" /* ideographic space */})
        text = replaceAll(std::move(text), comma, " ");
    std::vector<std::string> kept;
    std::string out;
    for (const std::string& word : split(text, " ")) {
        if (word.empty() || std::find(kept.begin(), kept.end(), word) != kept.end()) continue;
        if (out.size() + (out.empty() ? 0 : 1) + word.size() > kTagBytes) break;
        out += (out.empty() ? "" : " ") + word;
        kept.push_back(word);
    }
    return out;
}

double frequencyScore(std::int64_t count, std::int64_t lastMs, std::int64_t nowMs) {
    const double age = static_cast<double>(std::max<std::int64_t>(0, nowMs - lastMs));
    return static_cast<double>(count) * std::exp2(-age / kHalfLifeMs);
}

template <class Change>
void FaceMarks::changeFavourites(Change change) {
    auto db = db_.open();
    db->begin();
    std::vector<std::string> list = db->favourites();
    change(list);
    db->setFavourites(list);
    db->commit();
}

std::vector<std::string> FaceMarks::favourites() { return db_.open()->favourites(); }

void FaceMarks::addFavourite(const std::string& img) {
    changeFavourites([&](std::vector<std::string>& list) {
        if (std::find(list.begin(), list.end(), img) == list.end()) list.push_back(img);
    });
}

void FaceMarks::removeFavourite(const std::string& img) {
    changeFavourites([&](std::vector<std::string>& list) { std::erase(list, img); });
}

void FaceMarks::moveFavourite(const std::string& img, std::size_t to) {
    changeFavourites([&](std::vector<std::string>& list) {
        auto at = std::find(list.begin(), list.end(), img);
        if (at == list.end()) throw TovloError(kErrInvalidArgument, "not a favourite: " + img);
        list.erase(at);
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(to, list.size())), img);
    });
}

std::map<std::string, std::string> FaceMarks::tags() {
    auto all = db_.open()->tags();
    return {all.begin(), all.end()};
}

void FaceMarks::setTags(const std::string& img, std::string_view words) { db_.open()->setTags(img, tidyWords(words)); }

void FaceMarks::recordUse(const std::string& img, std::int64_t nowMs) { db_.open()->addUse(img, nowMs); }

std::vector<std::string> FaceMarks::frequent(std::int64_t nowMs, std::size_t limit) {
    std::vector<HistoryConnection::Use> uses = db_.open()->uses();
    std::vector<std::pair<double, const HistoryConnection::Use*>> ranked;
    for (const auto& use : uses) ranked.emplace_back(frequencyScore(use.count, use.lastMs, nowMs), &use);
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second->lastMs > b.second->lastMs;
    });
    std::vector<std::string> out;
    for (std::size_t i = 0; i < ranked.size() && i < limit; ++i) out.push_back(ranked[i].second->img);
    return out;
}

}  // namespace tovlo
