#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qb::connection {

// ServerList: the torrent entries of the last list answer, in their sorted order, each read as
// a JSON value. A large list keeps its answer as it was read, and an entry becomes a value the
// first time it is asked for, so a refresh never builds thousands of values of which the window
// shows a few. The values are those the plain reader gives, and an entry's address stays the
// same until the list is replaced. Entries may be read from any thread.
class ServerEntries {
public:
    using Json = nlohmann::ordered_json;

    // What an entry as the server sent it becomes as the client reads it; nullptr keeps it.
    using EntryTransform = std::function<Json(const Json&)>;

    ServerEntries() = default;
    // The elements of `array` (nothing when it is not an array), already read.
    ServerEntries(Json array); // NOLINT: assigning a parsed array is the plain way to set the list
    ServerEntries(Json array, const EntryTransform& transform);
    // Where entries not yet read come from: the compact JSON text of entry `index`.
    class Source {
    public:
        virtual ~Source() = default;
        virtual std::string text(std::size_t index) const = 0;
    };
    // Entry i is entry order[i] of `source`, read through `transform`.
    ServerEntries(std::shared_ptr<const Source> source, std::vector<std::size_t> order,
                  EntryTransform transform = {});

    // The same entries, read again from the answer on their own as they are asked for: another
    // thread may read the copy while this list is replaced. A list that keeps no answer is
    // copied with its values.
    ServerEntries freshCopy() const;
    // Whether both lists read their entries from the same answer in the same order, so that
    // they hold the same entries (never for lists that keep no answer).
    bool readsTheSameAnswerAs(const ServerEntries& other) const;

    std::size_t size() const { return Values_.size(); }
    bool empty() const { return Values_.empty(); }
    const Json& operator[](std::size_t index) const;
    const Json& at(std::size_t index) const;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Json;
        using difference_type = std::ptrdiff_t;
        using pointer = const Json*;
        using reference = const Json&;

        const_iterator() = default;
        const_iterator(const ServerEntries* list, std::size_t index)
            : List_(list)
            , Index_(index) {}
        reference operator*() const { return (*List_)[Index_]; }
        pointer operator->() const { return &(*List_)[Index_]; }
        const_iterator& operator++() {
            ++Index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++Index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return Index_ == other.Index_; }

    private:
        const ServerEntries* List_ = nullptr;
        std::size_t Index_ = 0;
    };

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    std::shared_ptr<const Source> Source_;
    std::vector<std::size_t> Order_;
    EntryTransform Transform_;
    // Entries read so far; the vector never changes its size, so their addresses stay put. The
    // first reading of an entry is guarded: a worker may read the list as well.
    mutable std::vector<std::optional<Json>> Values_;
    std::shared_ptr<std::mutex> Reading_ = std::make_shared<std::mutex>();
};

} // namespace qb::connection
