#include "torznab_answer.h"

#include "magnet.h"
#include "plain_text.h"
#include "poster_address.h"

#include <QDateTime>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <optional>

namespace qb::service {

namespace {

// Entity declarations of a document type may expand to this many characters at most.
constexpr int kEntityExpansionLimit = 4096;

std::string text(const QStringView view) {
    return view.toString().toStdString();
}

std::optional<std::int64_t> number(std::string_view digits) {
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && digits.back() == ' ') {
        digits.remove_suffix(1);
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

int count(std::string_view digits) {
    const auto value = number(digits);
    return value && *value <= 100'000'000 ? static_cast<int>(*value) : -1;
}

std::int64_t publishedAt(const QString& date) {
    QDateTime at = QDateTime::fromString(date.trimmed(), Qt::RFC2822Date);
    if (!at.isValid()) {
        at = QDateTime::fromString(date.trimmed(), Qt::ISODate);
    }
    return at.isValid() ? std::max<std::int64_t>(at.toSecsSinceEpoch(), 0) : 0;
}

void addCategory(Release& release, std::string_view value) {
    const auto category = number(value);
    if (!category || *category > 1'000'000 || release.categories.size() >= kMostCategories) {
        return;
    }
    const int c = static_cast<int>(*category);
    if (std::find(release.categories.begin(), release.categories.end(), c) ==
        release.categories.end()) {
        release.categories.push_back(c);
    }
}

// What an item says, before its hash and counts are settled.
struct Item {
    Release release;
    std::string infohash, magnet, link, enclosure, guid;
    int peers = -1;
    std::int64_t sizeElement = -1, sizeAttribute = -1, enclosureLength = -1;
};

void readAttribute(Item& item, const QXmlStreamAttributes& attributes) {
    const std::string name = text(attributes.value(QStringLiteral("name")));
    const std::string value = text(attributes.value(QStringLiteral("value")));
    Release& release = item.release;
    if (name == "seeders") {
        release.seeders = count(value);
    } else if (name == "leechers") {
        release.leechers = count(value);
    } else if (name == "peers") {
        item.peers = count(value);
    } else if (name == "infohash") {
        item.infohash = value;
    } else if (name == "magneturl") {
        item.magnet = value;
    } else if (name == "size") {
        item.sizeAttribute = number(value).value_or(-1);
    } else if (name == "category") {
        addCategory(release, value);
    } else if (name == "files") {
        release.files = count(value);
    } else if ((name == "coverurl" || name == "poster") && release.poster.empty()) {
        release.poster = usablePosterAddress(value).value_or(std::string());
    } else if (name == "genre") {
        release.genre = oneLine(value, kLongestShortText);
    } else if (name == "year") {
        const int year = count(value);
        release.year = year >= 1800 && year <= 3000 ? year : 0;
    }
}

void readItem(QXmlStreamReader& reader, Item& item) {
    Release& release = item.release;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.name();
        if (name == u"attr") {
            readAttribute(item, reader.attributes());
            reader.skipCurrentElement();
        } else if (name == u"enclosure") {
            item.enclosure = text(reader.attributes().value(QStringLiteral("url")));
            item.enclosureLength =
                number(text(reader.attributes().value(QStringLiteral("length")))).value_or(-1);
            reader.skipCurrentElement();
        } else {
            const QString value = reader.readElementText(QXmlStreamReader::SkipChildElements);
            const std::string utf8 = value.toStdString();
            if (name == u"title") {
                release.title = oneLine(utf8, kLongestTitle);
            } else if (name == u"description") {
                release.description = withoutMarkup(utf8, kLongestDescription);
            } else if (name == u"link") {
                item.link = utf8;
            } else if (name == u"guid") {
                item.guid = utf8;
            } else if (name == u"pubDate") {
                release.published = publishedAt(value);
            } else if (name == u"size") {
                item.sizeElement = number(utf8).value_or(-1);
            } else if (name == u"category") {
                addCategory(release, utf8);
            } else if (name == u"jackettindexer" || name == u"prowlarrindexer") {
                release.source = oneLine(utf8, kLongestShortText);
            }
        }
    }
}

// The item's hash and trackers, from the first place that gives a hash.
bool settleHash(Item& item) {
    Release& release = item.release;
    for (const std::string* magnet : {&item.magnet, &item.link, &item.enclosure, &item.guid}) {
        if (auto hash = hashOfMagnet(*magnet)) {
            release.trackers = trackersOfMagnet(*magnet, kMostTrackers);
            if (item.infohash.empty()) {
                release.hash = *hash;
            }
            break;
        }
    }
    if (!item.infohash.empty()) {
        release.hash = normalisedHash(item.infohash).value_or(std::string());
    }
    return !release.hash.empty();
}

void settleCounts(Item& item) {
    Release& release = item.release;
    // Torznab's "peers" counts seeders and leechers together.
    if (release.leechers < 0 && item.peers >= 0 && release.seeders >= 0) {
        release.leechers = std::max(item.peers - release.seeders, 0);
    }
    for (const std::int64_t size : {item.sizeAttribute, item.sizeElement, item.enclosureLength}) {
        if (size > 0) {
            release.sizeBytes = size;
            break;
        }
    }
}

void readChannel(QXmlStreamReader& reader, SourceAnswer& answer, std::string_view sourceLabel) {
    while (reader.readNextStartElement()) {
        if (reader.name() != u"item") {
            reader.skipCurrentElement();
            continue;
        }
        Item item;
        readItem(reader, item);
        if (answer.releases.size() >= kMostReleasesPerAnswer) {
            continue;
        }
        if (!settleHash(item)) {
            ++answer.withoutHash;
            continue;
        }
        settleCounts(item);
        if (item.release.source.empty()) {
            item.release.source = std::string(sourceLabel);
        }
        answer.releases.push_back(std::move(item.release));
    }
}

std::string errorOf(const QXmlStreamReader& reader) {
    const std::string code = text(reader.attributes().value(QStringLiteral("code")));
    const std::string description = text(reader.attributes().value(QStringLiteral("description")));
    return "the indexer answered error " + oneLine(code, 20) + ": " +
           oneLine(description, kLongestShortText);
}

} // namespace

SourceAnswer readTorznabAnswer(std::string_view xml, std::string_view sourceLabel) {
    SourceAnswer answer;
    QXmlStreamReader reader(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    reader.setEntityExpansionLimit(kEntityExpansionLimit);
    if (!reader.readNextStartElement()) {
        answer.error = "the answer is not XML";
    } else if (reader.name() == u"error") {
        answer.error = errorOf(reader);
    } else if (reader.name() != u"rss" && reader.name() != u"feed") {
        answer.error = "the answer is not a Torznab feed";
    } else {
        while (reader.readNextStartElement()) {
            if (reader.name() == u"channel") {
                readChannel(reader, answer, sourceLabel);
            } else {
                reader.skipCurrentElement();
            }
        }
    }
    if (answer.error.empty() && reader.hasError()) {
        answer.error = "the answer is not well-formed XML: " +
                       oneLine(reader.errorString().toStdString(), kLongestShortText);
    }
    if (!answer.error.empty()) {
        answer.releases.clear();
    }
    return answer;
}

} // namespace qb::service
