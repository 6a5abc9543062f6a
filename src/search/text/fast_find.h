#pragma once

#include <QStringView>

namespace qb::search {

// The position of the first `needle` in `text` at or after `from`, -1 when there is none; as
// QStringView::indexOf with case, but eight places at a time where the processor can, since
// result pages are searched dozens of times per row.
qsizetype findText(QStringView text, QStringView needle, qsizetype from = 0);

} // namespace qb::search
