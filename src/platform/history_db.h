#pragma once
// The database behind the usage history: one table of image references in
// the order they were added, and beside it the user's marks on faces (the
// favourites in the user's order, the user's own words for a face, how
// often and when each face was last sent). Every operation of the history opens a
// connection, runs a few of the statements below and drops it again, so
// nothing holds the file between operations. Image references are passed to
// the engine as values, never pasted into statement text, so any character
// (an apostrophe too) is stored as it is.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tovlo {

// A failing database operation: missing or locked file, engine error.
class HistoryDbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An open database; closed when destroyed. Each call throws HistoryDbError
// on failure.
class HistoryConnection {
public:
    virtual ~HistoryConnection() = default;
    // The statements between begin() and commit() take effect together: a
    // connection closed before commit() (a failed statement, a killed
    // program) leaves the store as it was before begin().
    virtual void begin() = 0;
    virtual void commit() = 0;
    // Removes every row holding exactly this image reference.
    virtual void deleteImage(const std::string& img) = 0;
    virtual std::int64_t count() = 0;
    // Removes the one row with the smallest id (nothing when empty).
    virtual void deleteOldest() = 0;
    // Adds a row; its id is larger than every id given before.
    virtual void insert(const std::string& img) = 0;
    // Every image reference, the newest (largest id) first.
    virtual std::vector<std::string> listNewestFirst() = 0;
    // Removes every row.
    virtual void clear() = 0;

    // The favourites, in the user's order.
    virtual std::vector<std::string> favourites() = 0;
    // Replaces the favourites with these, in this order (each once).
    virtual void setFavourites(const std::vector<std::string>& imgs) = 0;
    // Every face that has words of the user's, with them.
    virtual std::vector<std::pair<std::string, std::string>> tags() = 0;
    // Gives the face these words; empty words take them away.
    virtual void setTags(const std::string& img, const std::string& words) = 0;
    // One more sending of the face, at the time (ms since the epoch).
    virtual void addUse(const std::string& img, std::int64_t atMs) = 0;
    struct Use {
        std::string img;
        std::int64_t count = 0, lastMs = 0;
    };
    // Every face ever sent, in no particular order.
    virtual std::vector<Use> uses() = 0;
};

class HistoryDb {
public:
    virtual ~HistoryDb() = default;
    // Opens the store; throws HistoryDbError when it cannot be opened.
    virtual std::unique_ptr<HistoryConnection> open() = 0;
};

}  // namespace tovlo
