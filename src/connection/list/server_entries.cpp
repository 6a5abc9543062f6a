#include "connection/list/server_entries.h"

#include <stdexcept>
#include <string>

namespace qb::connection {

ServerEntries::ServerEntries(Json array)
    : ServerEntries(std::move(array), EntryTransform()) {}

ServerEntries::ServerEntries(Json array, const EntryTransform& transform) {
    if (!array.is_array()) {
        return;
    }
    auto& items = array.get_ref<Json::array_t&>();
    Values_.reserve(items.size());
    for (Json& item : items) {
        Values_.emplace_back(transform ? transform(item) : std::move(item));
    }
}

ServerEntries::ServerEntries(std::shared_ptr<const Source> source, std::vector<std::size_t> order,
                             EntryTransform transform)
    : Source_(std::move(source))
    , Order_(std::move(order))
    , Transform_(std::move(transform))
    , Values_(Order_.size()) {}

const ServerEntries::Json& ServerEntries::operator[](std::size_t index) const {
    std::optional<Json>& value = Values_[index];
    const std::lock_guard lock(*Reading_);
    if (!value) {
        // The text is written as the value's own compact text; it reads back the same.
        Json sent = Json::parse(Source_->text(Order_[index]));
        value = Transform_ ? Transform_(sent) : std::move(sent);
    }
    return *value;
}

ServerEntries ServerEntries::freshCopy() const {
    if (!Source_) {
        return *this;
    }
    return {Source_, Order_, Transform_};
}

bool ServerEntries::readsTheSameAnswerAs(const ServerEntries& other) const {
    return Source_ != nullptr && Source_ == other.Source_ && Order_ == other.Order_;
}

const ServerEntries::Json& ServerEntries::at(std::size_t index) const {
    if (index >= size()) {
        throw std::out_of_range("ServerList has no entry " + std::to_string(index));
    }
    return (*this)[index];
}

} // namespace qb::connection
