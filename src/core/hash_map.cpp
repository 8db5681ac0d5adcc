#include "hash_map.h"

#include "errors.h"

namespace tovlo {

void HashMap::insert(const std::string& key, Value v) {
    if (exists(key)) throw TovloError(kErrKeyExists, "key already in the map: " + key);
    index_.emplace(key, entries_.size());
    entries_.emplace_back(key, std::move(v));
}

void HashMap::add(const std::string& key, std::shared_ptr<HashMap> o) { insert(key, std::move(o)); }

void HashMap::addStr(const std::string& key, const std::string& value) { insert(key, value); }

const HashMap::Value& HashMap::value(const std::string& key) const {
    auto it = index_.find(key);
    if (it == index_.end()) throw TovloError(kErrInvalidArgument, "no value stored under: " + key);
    return entries_[it->second].second;
}

std::string HashMap::valueStr(const std::string& key) {
    if (!exists(key)) insert(key, std::string());
    const Value& v = value(key);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    throw TovloError(kErrInvalidArgument, "not a text: " + key);
}

std::shared_ptr<HashMap> HashMap::valueMap(const std::string& key) const {
    const Value& v = value(key);
    if (const auto* m = std::get_if<std::shared_ptr<HashMap>>(&v)) return *m;
    throw TovloError(kErrInvalidArgument, "not a map: " + key);
}

}  // namespace tovlo
