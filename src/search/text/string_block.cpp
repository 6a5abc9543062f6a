#include "search/text/string_block.h"

namespace qb::search {

StringBlock::StringBlock(qsizetype characters, qsizetype parts)
    : block_(characters + parts, Qt::Uninitialized)
    , next_(reinterpret_cast<char16_t*>(block_.data()))
    , end_(next_ + block_.size()) {}

QString StringBlock::share(qsizetype written) {
    if (written == 0) {
        return {};
    }
    QString::DataPointer part = block_.data_ptr(); // a copy takes a share of the block
    part.ptr = next_;
    part.size = written;
    next_[written] = u'\0';
    next_ += written + 1;
    return QString(std::move(part));
}

} // namespace qb::search
