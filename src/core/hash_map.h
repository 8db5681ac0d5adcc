#pragma once
// HashMap: a map from exact (case-sensitive) text keys to texts or further
// maps, keeping insertion order.
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace tovlo {

class HashMap {
public:
    using Value = std::variant<std::string, std::shared_ptr<HashMap>>;

    // Both fail (TovloError) when the key exists already.
    void add(const std::string& key, std::shared_ptr<HashMap> o);
    void addStr(const std::string& key, const std::string& value);

    // The value under the key; fails when the key is missing.
    const Value& value(const std::string& key) const;
    // The text under the key; a missing key is added with the empty text.
    std::string valueStr(const std::string& key);
    // The map under the key; fails when missing or not a map.
    std::shared_ptr<HashMap> valueMap(const std::string& key) const;

    bool exists(const std::string& key) const { return index_.count(key) != 0; }
    std::size_t size() const { return entries_.size(); }
    // Entries in insertion order.
    const std::vector<std::pair<std::string, Value>>& entries() const { return entries_; }

private:
    void insert(const std::string& key, Value v);
    std::vector<std::pair<std::string, Value>> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace tovlo
