#include "releaseinfo/page/page_text.h"

#include "releaseinfo/page/page_text_ops.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

// After a "<" at `at` - 1: 2 for the rest of "<b>", 3 for that of "</b>", in either case; else 0.
qsizetype boldTagRest(QStringView text, qsizetype at) {
    const auto isB = [&text](qsizetype k) {
        return k < text.size() && (text[k].unicode() | 0x20) == u'b';
    };
    const auto is = [&text](qsizetype k, char16_t c) { return k < text.size() && text[k] == c; };
    if (isB(at) && is(at + 1, u'>')) {
        return 2;
    }
    if (is(at, u'/') && isB(at + 1) && is(at + 2, u'>')) {
        return 3;
    }
    return 0;
}

struct Replacement {
    QStringView text;
    QStringView by;
};

// Each runs over the result of the one before.
constexpr Replacement kCaptions[] = {
    {u"[b]", u"\r\n<br><b>"},
    {u"[/b]", u"</b>"},
    {u"Раздают", u"\r\n<br><b>Раздают:</b> "},
    {u"Качают", u"\r\n<br><b>Качают:</b> "},
    {u"Размер", u"\r\n<br><b>Размер:</b> "},
    {u"Сидер", u"\r\n<br>Сидер "},
    {u"Добавлен", u"\r\n<br><b>Добавлен:</b> "},
    {u"Оценка", u"\r\n<br><b>Оценка:</b> "},
    {u"MI", u"\r\n<br>MI: "},
    {u"M/I", u"\r\n<br>M/I: "},
    {u"Файл", u"\r\n<br>Файл: "},
    {u"Mediainfo", u"\r\n<br>Mediainfo: "},
    {u"[info]", u"\r\n<br>[info] "},
    {u"BDInfo", u"\r\n<br>[BDInfo] "},
    {u"МедиаИнфо", u"\r\n<br>МедиаИнфо: "},
    {u"Примечание", u"\r\n<br>Примечание: "},
    {u"Категория", u"<br>Категория: "},
    {u"Скриншоты", u"<br>"},
};

// The captions' texts, and which of them a pair of characters can start, ignoring case: every
// caption is at least two characters long, and a pair rules out nearly every place in a text.
class CaptionRules {
public:
    static constexpr int kCount = static_cast<int>(std::size(kCaptions));

    static const CaptionRules& instance() {
        static const CaptionRules rules;
        return rules;
    }
    const CaselessText& text(int rule) const { return texts_[static_cast<size_t>(rule)]; }
    // The rules whose text can start with `first` followed by `second`, as bits.
    std::uint32_t startingWith(char16_t first, char16_t second) const {
        return first < kTable && second < kTable ? first_[first] & second_[second] : 0;
    }

private:
    // Latin and Cyrillic: every character of the captions, in either case, is below this.
    static constexpr char16_t kTable = 0x500;

    CaptionRules() {
        for (int rule = 0; rule < kCount; ++rule) {
            const QStringView caption = kCaptions[rule].text;
            texts_.emplace_back(caption);
            for (const auto& [at, bits] : {std::pair{0, &first_}, std::pair{1, &second_}}) {
                for (const QChar c : {caption[at].toLower(), caption[at].toUpper()}) {
                    (*bits)[c.unicode()] |= 1u << rule;
                }
            }
        }
    }

    std::vector<CaselessText> texts_;
    std::array<std::uint32_t, kTable> first_{};
    std::array<std::uint32_t, kTable> second_{};
};

// Writes pieces into a text's own memory, growing it by doubling: a page is tens of thousands
// of pieces, and a plain copy each costs far less than QString::append.
class TextWriter {
public:
    TextWriter(QString& text, qsizetype expected)
        : text_(text) {
        text_.resize(std::max(expected, text_.capacity()));
        out_ = text_.data();
    }
    void write(QStringView piece) {
        if (used_ + piece.size() > text_.size()) {
            text_.resize(std::max(text_.size() * 2, used_ + piece.size()));
            out_ = text_.data();
        }
        std::copy_n(piece.data(), piece.size(), out_ + used_);
        used_ += piece.size();
    }
    qsizetype size() const { return used_; }
    // The text ends at `end`, a size it had.
    void finish(qsizetype end) { text_.truncate(end); }

private:
    QString& text_;
    QChar* out_ = nullptr;
    qsizetype used_ = 0;
};

} // namespace

QString strippedLines(QStringView answer) {
    QString lines;
    writeStrippedLines(answer, lines);
    return lines;
}

QString captionedLines(QStringView stripped) {
    QString text;
    writeCaptionedLines(stripped, text);
    return text;
}

void writeStrippedLines(QStringView answer, QString& lines) {
    // The memory a text given again already holds is used again.
    TextWriter out(lines, answer.size() + 16);
    bool outsideTag = false;
    // The collected text of the lines not emitted yet is the end of the text from here.
    qsizetype collected = 0;
    bool collectedHasText = false;
    const auto keep = [&](QStringView text) {
        out.write(text);
        for (qsizetype k = 0; !collectedHasText && k < text.size(); ++k) {
            collectedHasText = !isBlank(text[k]);
        }
    };
    const auto endLine = [&] {
        if (collectedHasText) {
            out.write(u"<br>\r\n");
            collected = out.size();
            collectedHasText = false;
        }
    };

    const qsizetype size = answer.size();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype special = findTagOrBreak(answer, i);
        if (outsideTag && special > i) {
            keep(answer.sliced(i, special - i));
        }
        if (special == size) {
            break;
        }
        const char16_t c = answer[special].unicode();
        i = special + 1;
        if (c == u'\r' || c == u'\n') {
            endLine();
            if (c == u'\r' && i < size && answer[i] == u'\n') {
                ++i;
            }
        } else if (c == u'>') {
            outsideTag = true;
        } else if (const qsizetype bold = boldTagRest(answer, i); bold > 0) {
            // Bold tags are text from here on ("<b>" is "[b]"); they do not change the state.
            if (outsideTag) {
                keep(bold == 2 ? u"[b]" : u"[/b]");
            }
            i += bold;
        } else {
            outsideTag = false;
        }
    }
    if (size > 0 && answer[size - 1] != u'\r' && answer[size - 1] != u'\n') {
        endLine(); // the last line, without a line break of its own
    }
    out.finish(collected); // blanks never emitted
}

void writeCaptionedLines(QStringView stripped, QString& text) {
    const CaptionRules& rules = CaptionRules::instance();
    const qsizetype size = stripped.size();

    // Every occurrence of every caption, found in one pass.
    std::vector<std::pair<qsizetype, int>> found;
    const char16_t* data = stripped.utf16();
    for (qsizetype i = 0; i + 1 < size; ++i) {
        for (std::uint32_t candidates = rules.startingWith(data[i], data[i + 1]); candidates != 0;
             candidates &= candidates - 1) {
            const int rule = std::countr_zero(candidates);
            if (rules.text(rule).isAt(stripped, i)) {
                found.emplace_back(i, rule);
            }
        }
    }
    // Each rule in its turn takes its occurrences from the left, where no earlier rule and no
    // earlier occurrence of its own took the text. The texts the rules put in never hold a
    // caption, so this is what replacing rule after rule gives.
    std::vector<bool> taken(static_cast<size_t>(size), false);
    std::vector<bool> chosen(found.size(), false);
    for (int rule = 0; rule < CaptionRules::kCount; ++rule) {
        const qsizetype length = rules.text(rule).size();
        for (size_t k = 0; k < found.size(); ++k) {
            const auto [at, which] = found[k];
            if (which != rule) {
                continue;
            }
            const auto first = taken.begin() + at;
            if (std::find(first, first + length, true) == first + length) {
                std::fill(first, first + length, true);
                chosen[k] = true;
            }
        }
    }

    TextWriter out(text, size + size / 8);
    qsizetype done = 0;
    for (size_t k = 0; k < found.size(); ++k) {
        if (!chosen[k]) {
            continue;
        }
        const auto [at, rule] = found[k];
        out.write(stripped.sliced(done, at - done));
        out.write(kCaptions[rule].by);
        done = at + rules.text(rule).size();
    }
    out.write(stripped.sliced(done));
    out.finish(out.size());
    // Last, every "|" a blank: none of the texts put in holds one.
    for (qsizetype bar = text.indexOf(u'|'); bar >= 0; bar = text.indexOf(u'|', bar + 1)) {
        text[bar] = u' ';
    }
}

} // namespace qb::releaseinfo
