#include "connection/list/server_list_reader.h"

#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "platform/text/text_codec.h"

#include <simdjson.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace qb::connection {

namespace {
using Json = nlohmann::ordered_json;

// The reader met something it must not decide alone; the plain reader takes over.
struct NotForTheFastReader {};

// Objects up to this many members are searched for a repeated name; larger ones are hashed.
// Today's status objects have up to about forty.
constexpr std::size_t kSearchedMembers = 64;

// The two-character escape Json::dump writes for `c`; nullptr when it writes \u00XX.
const char* shortEscape(unsigned char c) {
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        return nullptr;
    }
}

// The written texts: one buffer with room made ahead of each piece, so the writing is plain
// copying.
class TextBuffer {
public:
    explicit TextBuffer(std::size_t expected) { Text_.resize(expected); }

    // Room for `count` more bytes; the pointer is valid until the next call.
    char* room(std::size_t count) {
        if (Size_ + count > Text_.size()) {
            Text_.resize(std::max(Text_.size() * 2, Size_ + count));
        }
        return Text_.data() + Size_;
    }
    void put(char c) { *room(1) = c, ++Size_; }
    void put(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        Size_ += text.size();
    }
    void grow(std::size_t written) { Size_ += written; }
    char last() const { return Text_[Size_ - 1]; }
    std::size_t size() const { return Size_; }
    std::string take() {
        Text_.resize(Size_);
        return std::move(Text_);
    }

private:
    std::string Text_;
    std::size_t Size_ = 0;
};

// Writes an element's compact text as Json::dump writes it: no blanks, members in received
// order, the same escapes and number forms.
class KeyWriter {
public:
    explicit KeyWriter(TextBuffer& out)
        : Out_(out) {}

    // Writes the element's text, or stops between two members or items once `limit` bytes of
    // the buffer are used; true when it stopped so.
    bool write(simdjson::dom::element element, std::size_t limit = SIZE_MAX) {
        Limit_ = limit;
        Cut_ = false;
        writeValue(element);
        return Cut_;
    }

    // A number with a fraction or an exponent as Json::dump writes it ("-0.0" included).
    static std::string numberText(double value) { return Json(value).dump(); }

private:
    void writeValue(simdjson::dom::element element) {
        switch (element.type()) {
        case simdjson::dom::element_type::OBJECT:
            writeObject(element.get_object().value_unsafe());
            return;
        case simdjson::dom::element_type::ARRAY:
            writeArray(element.get_array().value_unsafe());
            return;
        case simdjson::dom::element_type::STRING:
            writeString(element.get_string().value_unsafe());
            return;
        case simdjson::dom::element_type::INT64:
            writeNumber(element.get_int64().value_unsafe());
            return;
        case simdjson::dom::element_type::UINT64:
            writeNumber(element.get_uint64().value_unsafe());
            return;
        case simdjson::dom::element_type::DOUBLE:
            Out_.put(numberText(element.get_double().value_unsafe()));
            return;
        case simdjson::dom::element_type::BOOL:
            Out_.put(element.get_bool().value_unsafe() ? "true" : "false");
            return;
        case simdjson::dom::element_type::NULL_VALUE:
            Out_.put("null");
            return;
        }
    }

    bool full() {
        Cut_ = Cut_ || Out_.size() >= Limit_;
        return Cut_;
    }

    void writeObject(simdjson::dom::object object) {
        Out_.put('{');
        bool first = true;
        for (const simdjson::dom::key_value_pair member : object) {
            if (full()) {
                return;
            }
            if (!first) {
                Out_.put(',');
            }
            first = false;
            writeString(member.key);
            if (Cut_) {
                return;
            }
            Out_.put(':');
            writeValue(member.value);
        }
        // A text cut short inside ends there: the beginning stays a beginning of the whole.
        if (!Cut_) {
            Out_.put('}');
        }
    }

    void writeArray(simdjson::dom::array array) {
        Out_.put('[');
        bool first = true;
        for (const simdjson::dom::element item : array) {
            if (full()) {
                return;
            }
            if (!first) {
                Out_.put(',');
            }
            first = false;
            writeValue(item);
        }
        if (!Cut_) {
            Out_.put(']');
        }
    }

    template <typename Integer> void writeNumber(Integer value) {
        char* digits = Out_.room(24);
        Out_.grow(static_cast<std::size_t>(std::to_chars(digits, digits + 24, value).ptr - digits));
    }

    // A string as Json::dump writes it without ASCII escaping: the quote, the backslash and
    // control characters escaped, everything else as it is. A beginning stops inside a string
    // that would run past its limit (a long "data" text, for one).
    void writeString(std::string_view text) {
        if (Limit_ != SIZE_MAX && Out_.size() + text.size() + 2 > Limit_) {
            const std::size_t room = Limit_ > Out_.size() ? Limit_ - Out_.size() : 0;
            writeStringText(text.substr(0, room), false);
            Cut_ = true;
            return;
        }
        writeStringText(text, true);
    }

    void writeStringText(std::string_view text, bool closed) {
        // At most six bytes for each byte (\\u00XX) and the quotes.
        char* out = Out_.room(text.size() * 6 + 2);
        char* const begin = out;
        *out++ = '"';
        std::size_t plainFrom = 0;
        for (std::size_t i = plainRun(text, 0); i < text.size(); i = plainRun(text, i + 1)) {
            const auto c = static_cast<unsigned char>(text[i]);
            std::memcpy(out, text.data() + plainFrom, i - plainFrom);
            out += i - plainFrom;
            plainFrom = i + 1;
            if (const char* escape = shortEscape(c)) {
                *out++ = escape[0];
                *out++ = escape[1];
            } else {
                static const char kHex[] = "0123456789abcdef";
                std::memcpy(out, "\\u00", 4);
                out[4] = kHex[c >> 4];
                out[5] = kHex[c & 0xF];
                out += 6;
            }
        }
        std::memcpy(out, text.data() + plainFrom, text.size() - plainFrom);
        out += text.size() - plainFrom;
        if (closed) {
            *out++ = '"';
        }
        Out_.grow(static_cast<std::size_t>(out - begin));
    }

    // The index of the first character from `from` on that needs an escape; the size when none
    // does. Eight bytes are tested at a time: names and links rarely need any.
    static std::size_t plainRun(std::string_view text, std::size_t from) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
        constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
        const auto hasZero = [](std::uint64_t w) { return (w - kOnes) & ~w & kHigh; };
        std::size_t i = from;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            const std::uint64_t control = (word - kOnes * 0x20) & ~word & kHigh;
            if ((control | hasZero(word ^ (kOnes * '"')) | hasZero(word ^ (kOnes * '\\'))) != 0) {
                break;
            }
        }
        for (; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c < 0x20 || c == '"' || c == '\\') {
                return i;
            }
        }
        return i;
    }

    TextBuffer& Out_;
    std::size_t Limit_ = SIZE_MAX;
    bool Cut_ = false;
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || (a[0] == b[0] && a == b));
}

// What the fast reading cannot give as the plain reader would: nesting past the limit, and a
// repeated member name (the plain reader keeps its first place with its last value). Small
// objects are searched, large ones hashed, so no answer takes quadratic time.
void checkEntry(simdjson::dom::element element, int depth) {
    const auto enter = [&depth] {
        if (++depth > kMaxJsonAnswerDepth) {
            throw NotForTheFastReader{};
        }
    };
    if (element.is_array()) {
        enter();
        const simdjson::dom::array items = element.get_array().value_unsafe();
        for (const simdjson::dom::element item : items) {
            checkEntry(item, depth);
        }
        return;
    }
    if (!element.is_object()) {
        return;
    }
    enter();
    const simdjson::dom::object object = element.get_object().value_unsafe();
    std::array<std::string_view, kSearchedMembers> names;
    std::size_t named = 0;
    std::unordered_set<std::string_view> hashedNames;
    const bool hashed = object.size() > kSearchedMembers;
    // One bit of 64 for each name seen, chosen by its length and outer characters: only a name
    // whose bit is set already is compared with the names before it.
    std::uint64_t seen = 0;
    for (const simdjson::dom::key_value_pair member : object) {
        if (hashed) {
            if (!hashedNames.insert(member.key).second) {
                throw NotForTheFastReader{};
            }
        } else {
            const std::string_view key = member.key;
            const std::size_t mix = key.empty() ? 0
                                                : key.size() * 31 +
                                                      static_cast<unsigned char>(key.front()) * 7 +
                                                      static_cast<unsigned char>(key.back());
            const std::uint64_t bit = std::uint64_t{1} << (mix & 63);
            if ((seen & bit) != 0) {
                for (std::size_t i = 0; i < named; ++i) {
                    if (sameName(names[i], key)) {
                        throw NotForTheFastReader{};
                    }
                }
            }
            seen |= bit;
            names[named++] = key;
        }
        checkEntry(member.value, depth);
    }
}

// A read document's buffers are as large as the answer; the one of the list a refresh replaces
// is kept for the next refresh, so a large list's memory is taken from the system once.
class DocumentPool {
public:
    static std::unique_ptr<simdjson::dom::document> take() {
        const std::lock_guard lock(mutex());
        std::unique_ptr<simdjson::dom::document> document = std::move(kept());
        return document ? std::move(document) : std::make_unique<simdjson::dom::document>();
    }
    static void give(std::unique_ptr<simdjson::dom::document> document) {
        const std::lock_guard lock(mutex());
        kept() = std::move(document);
    }

private:
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::unique_ptr<simdjson::dom::document>& kept() {
        static std::unique_ptr<simdjson::dom::document> document;
        return document;
    }
};

// The answer as simdjson read it; an entry's text is written when the entry is first asked for.
class DocumentEntries final : public ServerEntries::Source {
public:
    DocumentEntries() = default;
    DocumentEntries(const DocumentEntries&) = delete;
    DocumentEntries& operator=(const DocumentEntries&) = delete;
    ~DocumentEntries() override { DocumentPool::give(std::move(Document)); }

    std::string text(std::size_t index) const override {
        TextBuffer buffer(256);
        KeyWriter(buffer).write(Entries[index]);
        return buffer.take();
    }

    std::unique_ptr<simdjson::dom::document> Document = DocumentPool::take();
    std::vector<simdjson::dom::element> Entries;
};

// A value read as entryMemberText reads it from the plain reader's value: objects and arrays
// (and null) read as the empty text.
QString valueText(simdjson::dom::element found) {
    switch (found.type()) {
    case simdjson::dom::element_type::STRING: {
        const std::string_view text = found.get_string().value_unsafe();
        return qb::platform::fromUtf8Exactly(text);
    }
    case simdjson::dom::element_type::INT64:
        return QString::number(found.get_int64().value_unsafe());
    case simdjson::dom::element_type::UINT64:
        return QString::number(found.get_uint64().value_unsafe());
    case simdjson::dom::element_type::DOUBLE:
        return QString::fromStdString(KeyWriter::numberText(found.get_double().value_unsafe()));
    case simdjson::dom::element_type::BOOL:
        return found.get_bool().value_unsafe() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return {};
    }
}

// The members a row shows, found in one pass over the entry's members (the last of repeated
// names counts, as the plain reader keeps them; an entry with one is read the plain way anyway).
TorrentRowFields rowFieldsOf(simdjson::dom::element entry, const ListDialect& dialect) {
    if (!entry.is_object()) {
        return {};
    }
    const std::array<std::string_view, 5> names{dialect.name, dialect.fallbackName, dialect.hash,
                                                dialect.length, dialect.status};
    std::array<std::optional<simdjson::dom::element>, 5> found;
    const simdjson::dom::object object = entry.get_object().value_unsafe();
    for (const simdjson::dom::key_value_pair member : object) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (!names[i].empty() && member.key == names[i]) {
                found[i] = member.value;
            }
        }
    }
    const auto text = [&found](std::size_t i) {
        return found[i] ? valueText(*found[i]) : QString();
    };
    QString name = text(0);
    if (name.isEmpty()) {
        name = text(1);
    }
    return {std::move(name), text(2), text(3), text(4)};
}

// The same fields read from the plain reader's value.
TorrentRowFields rowFieldsOf(const Json& entry, const ListDialect& dialect) {
    const auto text = [&entry](std::string_view name) {
        return entryMemberText(entry, std::string(name).c_str());
    };
    QString name = text(dialect.name);
    if (name.isEmpty() && !dialect.fallbackName.empty()) {
        name = text(dialect.fallbackName);
    }
    return {std::move(name), text(dialect.hash), text(dialect.length), text(dialect.status)};
}

// The plain way: the strict reader, then the sort by each entry's written text.
ServerListRead readPlainly(const QByteArray& answer, const ListDialect& dialect,
                           const ServerEntries::EntryTransform& transform) {
    ListParseOutcome outcome = parseServerList(answer);
    ServerListRead read;
    read.kind = outcome.kind;
    if (outcome.kind != ListAnswerKind::Array) {
        return read;
    }
    sortServerList(outcome.array);
    read.rowFields.reserve(outcome.array.size());
    for (const Json& entry : outcome.array) {
        read.rowFields.push_back(rowFieldsOf(entry, dialect));
    }
    read.entries = ServerEntries(std::move(outcome.array), transform);
    return read;
}

// Sort keys are written only as far as the order needs: a beginning of each entry's text, and
// the whole text only for entries whose beginnings tie.
class SortKeys {
public:
    SortKeys(const DocumentEntries& entries, TextBuffer& buffer)
        : Entries_(entries)
        , Whole_(entries.Entries.size()) {
        KeyWriter writer(buffer);
        Spans_.reserve(entries.Entries.size());
        for (const simdjson::dom::element entry : entries.Entries) {
            const std::size_t start = buffer.size();
            const bool cut = writer.write(entry, start + kBeginning);
            Spans_.push_back({start, buffer.size() - start, cut});
        }
        Prefixes_ = buffer.take();
    }

    bool less(std::size_t a, std::size_t b) {
        const std::string_view pa = prefix(a);
        const std::string_view pb = prefix(b);
        const std::size_t common = std::min(pa.size(), pb.size());
        if (pa.substr(0, common) != pb.substr(0, common)) {
            return utf16Less(pa, pb);
        }
        const bool wholeA = !Spans_[a].cut;
        const bool wholeB = !Spans_[b].cut;
        if (wholeA && (pa.size() < pb.size() || wholeB)) {
            return pa.size() < pb.size();
        }
        if (wholeB && pb.size() < pa.size()) {
            return false;
        }
        return utf16Less(whole(a), whole(b));
    }

private:
    static constexpr std::size_t kBeginning = 96;

    struct Span {
        std::size_t offset;
        std::size_t length;
        bool cut;
    };

    std::string_view prefix(std::size_t i) const {
        return std::string_view(Prefixes_).substr(Spans_[i].offset, Spans_[i].length);
    }
    const std::string& whole(std::size_t i) {
        if (!Whole_[i]) {
            Whole_[i] = Entries_.text(i);
        }
        return *Whole_[i];
    }

    const DocumentEntries& Entries_;
    std::vector<Span> Spans_;
    std::string Prefixes_;
    std::vector<std::optional<std::string>> Whole_;
};

std::optional<ServerListRead> readFast(const QByteArray& answer, const ListDialect& dialect,
                                       const ServerEntries::EntryTransform& transform) {
    // One parser keeps its buffers from one refresh to the next; the document is the list's own.
    static std::mutex parserInUse;
    static simdjson::dom::parser parser;
    const std::lock_guard lock(parserInUse);
    auto entries = std::make_shared<DocumentEntries>();
    // simdjson reads a little past the end of its input. How much of a QByteArray's capacity
    // lies behind its end is not known (free room may be in front of the data, after a
    // remove(0, n)), so the parser copies the answer into its own padded buffer, which it keeps
    // from one refresh to the next; the copy costs a fraction of the parse.
    const bool copy = true;
    simdjson::dom::element root;
    if (parser.parse_into_document(*entries->Document,
                                   reinterpret_cast<const std::uint8_t*>(answer.constData()),
                                   static_cast<std::size_t>(answer.size()), copy)
                .get(root) != simdjson::SUCCESS ||
        !root.is_array()) {
        return std::nullopt;
    }
    const simdjson::dom::array array = root.get_array().value_unsafe();
    entries->Entries.reserve(array.size());
    std::vector<TorrentRowFields> fields;
    fields.reserve(array.size());
    try {
        for (const simdjson::dom::element entry : array) {
            checkEntry(entry, 1);
            entries->Entries.push_back(entry);
            fields.push_back(rowFieldsOf(entry, dialect));
        }
    } catch (const NotForTheFastReader&) {
        return std::nullopt;
    }

    TextBuffer buffer(entries->Entries.size() * 128 + 64);
    SortKeys keys(*entries, buffer);
    std::vector<std::size_t> order(entries->Entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&keys](std::size_t a, std::size_t b) { return keys.less(a, b); });
    ServerListRead read;
    read.kind = ListAnswerKind::Array;
    read.rowFields.reserve(order.size());
    for (const std::size_t index : order) {
        read.rowFields.push_back(std::move(fields[index]));
    }
    read.entries = ServerEntries(std::move(entries), std::move(order), transform);
    return read;
}
} // namespace

bool utf16Less(std::string_view a, std::string_view b) {
    // Entries often share a long beginning ("{\"Name\":\"" and a series' title): it is skipped
    // eight bytes at a time.
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 8 <= common; i += 8) {
        if (std::memcmp(a.data() + i, b.data() + i, 8) != 0) {
            break;
        }
    }
    while (i < common && a[i] == b[i]) {
        ++i;
    }
    if (i == common) {
        return a.size() < b.size();
    }
    // Byte order is code point order. UTF-16 differs only where a character past U+FFFF (a
    // surrogate pair, D800-DFFF) meets one of U+E000-U+FFFF: the pair orders first there.
    std::size_t start = i;
    while (start > 0 && (static_cast<unsigned char>(a[start]) & 0xC0) == 0x80) {
        --start;
    }
    const auto leadA = static_cast<unsigned char>(a[start]);
    const auto leadB = static_cast<unsigned char>(b[start]);
    const auto highBmp = [](unsigned char lead) { return lead == 0xEE || lead == 0xEF; };
    if (leadA >= 0xF0 && highBmp(leadB)) {
        return true;
    }
    if (leadB >= 0xF0 && highBmp(leadA)) {
        return false;
    }
    return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
}

const ListDialect kApi11ListDialect{"Name", {}, "Hash", "Length", "Status", nullptr};

ServerListRead readServerList(const QByteArray& answer, const ListDialect& dialect,
                              const ServerEntries::EntryTransform& transform) {
    ServerEntries::EntryTransform reading = transform;
    if (!reading && dialect.clientEntry != nullptr) {
        reading = dialect.clientEntry;
    }
    if (std::optional<ServerListRead> fast = readFast(answer, dialect, reading)) {
        return std::move(*fast);
    }
    return readPlainly(answer, dialect, reading);
}

} // namespace qb::connection
