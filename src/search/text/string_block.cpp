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
    // The block has not left this thread yet, so its count of shares needs no atomic step;
    // the parts' own copies and releases later count atomically as usual.
    QArrayData* const header = block_.data_ptr().d_ptr();
    header->ref_.storeRelaxed(header->ref_.loadRelaxed() + 1);
    QString::DataPointer part(block_.data_ptr().d_ptr(), next_, written);
    next_[written] = u'\0';
    next_ += written + 1;
    return QString(std::move(part));
}

} // namespace qb::search
