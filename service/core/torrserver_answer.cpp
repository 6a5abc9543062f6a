#include "torrserver_answer.h"

#include "magnet.h"
#include "plain_text.h"
#include "size_text.h"

#include <QDateTime>
#include <QString>

#include <nlohmann/json.hpp>

#include <algorithm>

namespace qb::service {

namespace {

constexpr int kDeepestAnswer = 16;
constexpr std::int64_t kMostCount = 100'000'000;

std::string textOf(const nlohmann::json& record, const char* key) {
    const auto found = record.find(key);
    return found != record.end() && found->is_string() ? found->get<std::string>() : std::string();
}

int countOf(const nlohmann::json& record, const char* key) {
    const auto found = record.find(key);
    if (found == record.end() || !found->is_number_integer()) {
        return -1;
    }
    const auto value = found->get<std::int64_t>();
    return value >= 0 && value <= kMostCount ? static_cast<int>(value) : -1;
}

std::int64_t publishedAt(const std::string& date) {
    const QDateTime at = QDateTime::fromString(QString::fromStdString(date), Qt::ISODate);
    // Go writes a missing time as the year 1.
    if (!at.isValid() || at.date().year() < 1971) {
        return 0;
    }
    return at.toSecsSinceEpoch();
}

std::optional<Release> releaseOf(const nlohmann::json& record, TorrServerRoute route,
                                 std::string_view sourceLabel) {
    if (!record.is_object()) {
        return std::nullopt;
    }
    Release release;
    const std::string magnet = textOf(record, "Magnet");
    std::optional<std::string> hash = normalisedHash(textOf(record, "Hash"));
    if (!hash) {
        hash = hashOfMagnet(magnet);
    }
    if (!hash) {
        return std::nullopt;
    }
    release.hash = *hash;
    release.trackers = trackersOfMagnet(magnet, kMostTrackers);
    std::string title = textOf(record, "Title");
    if (title.empty()) {
        title = textOf(record, "Name");
    }
    release.title = oneLine(title, kLongestTitle);
    const std::string size = textOf(record, "Size");
    release.sizeBytes = bytesOfSizeText(size);
    release.sizeExactness = exactnessOfSizeText(size, kSizeInBytes);
    release.seeders = countOf(record, "Seed");
    const int peers = countOf(record, "Peer");
    release.leechers = route == TorrServerRoute::Torznab && peers >= 0 && release.seeders >= 0
                           ? std::max(peers - release.seeders, 0)
                           : peers;
    release.published = publishedAt(textOf(record, "CreateDate"));
    release.sourceCategory = oneLine(textOf(record, "Categories"), kLongestShortText);
    const int year = countOf(record, "Year");
    release.year = year >= 1800 && year <= 3000 ? year : 0;
    const std::string tracker = oneLine(textOf(record, "Tracker"), kLongestShortText);
    release.source = tracker.empty() ? std::string(sourceLabel) : tracker;
    return release;
}

} // namespace

bool nestsDeeperThan(std::string_view json, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

SourceAnswer readTorrServerAnswer(std::string_view json, TorrServerRoute route,
                                  std::string_view sourceLabel) {
    SourceAnswer answer;
    if (nestsDeeperThan(json, kDeepestAnswer)) {
        answer.error = "the answer nests deeper than a release list";
        return answer;
    }
    const nlohmann::json list = nlohmann::json::parse(json, nullptr, false);
    if (list.is_discarded()) {
        answer.error = "the answer is not JSON";
        return answer;
    }
    if (!list.is_array()) {
        answer.error = "the answer is not a list of releases";
        return answer;
    }
    for (const nlohmann::json& record : list) {
        if (answer.releases.size() >= kMostReleasesPerAnswer) {
            break;
        }
        if (auto release = releaseOf(record, route, sourceLabel)) {
            answer.releases.push_back(std::move(*release));
        } else {
            ++answer.withoutHash;
        }
    }
    return answer;
}

} // namespace qb::service
