#pragma once

#include <QString>
#include <QStringView>

#include <cstring>

namespace qb::search {

// Short strings cut from one text, kept in one allocation instead of one each: every part is a
// QString that shares the block, as copies of one QString do, and sees only its own characters,
// ended by a '\0' as QString::utf16() promises. Writing to a part detaches it like any shared
// QString; the block is freed with its last part. A part may go to another thread only once
// its block is done with.
class StringBlock {
public:
    // Room for `characters` characters in at most `parts` parts.
    StringBlock(qsizetype characters, qsizetype parts);

    // The next part: `write` puts at most `size` characters at the pointer it is given and
    // returns how many it wrote. An empty part is a null QString that holds no share.
    template <typename Write> QString add(qsizetype size, Write&& write) {
        Q_ASSERT(next_ + size + 1 <= end_);
        return share(write(next_));
    }

    QString add(QStringView text) {
        return add(text.size(), [text](char16_t* out) {
            if (!text.isEmpty()) { // an empty view may have no characters to point at
                std::memcpy(out, text.utf16(), static_cast<size_t>(text.size()) * sizeof(char16_t));
            }
            return text.size();
        });
    }

private:
    QString share(qsizetype written);

    QString block_;
    char16_t* next_;
    const char16_t* end_;
};

} // namespace qb::search
