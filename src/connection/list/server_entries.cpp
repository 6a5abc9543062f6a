#include "connection/list/server_entries.h"

#include <stdexcept>
#include <string>

namespace qb::connection {

ServerEntries::ServerEntries(Json array) {
    if (!array.is_array()) {
        return;
    }
    auto& items = array.get_ref<Json::array_t&>();
    Values_.reserve(items.size());
    for (Json& item : items) {
        Values_.emplace_back(std::move(item));
    }
}

ServerEntries::ServerEntries(std::shared_ptr<const Source> source, std::vector<std::size_t> order)
    : Source_(std::move(source))
    , Order_(std::move(order))
    , Values_(Order_.size()) {}

const ServerEntries::Json& ServerEntries::operator[](std::size_t index) const {
    std::optional<Json>& value = Values_[index];
    const std::lock_guard lock(*Reading_);
    if (!value) {
        // The text is written as the value's own compact text; it reads back the same.
        value = Json::parse(Source_->text(Order_[index]));
    }
    return *value;
}

const ServerEntries::Json& ServerEntries::at(std::size_t index) const {
    if (index >= size()) {
        throw std::out_of_range("ServerList has no entry " + std::to_string(index));
    }
    return (*this)[index];
}

} // namespace qb::connection
