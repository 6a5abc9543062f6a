#pragma once

#include <QString>

namespace qb::search {
// One result of the last search: record i is row i of the results list. The magnet keeps the
// "&amp;" of the tracker's page.
struct SearchRecord {
    QString Magnet;
    QString PagePath;
    QString Title;
    QString Size;
    QString Seeders;
    QString Leechers;
};
} // namespace qb::search
