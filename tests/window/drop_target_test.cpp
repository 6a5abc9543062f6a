// What a drop on the torrent list hands to the window: local files and the link as written.
#include "app/window/list_box.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Dropped {
    QStringList files;
    QString url;
};

// The drop handler as the window system calls it.
struct DropList : ListBox {
    DropList()
        : ListBox(nullptr) {}
    using ListBox::dropEvent;
};

Dropped dropOn(DropList& list, QMimeData& data) {
    Dropped result;
    QObject::connect(&list, &ListBox::dropped, &list,
                     [&result](const QStringList& files, const QString& url) {
                         result = {files, url};
                     });
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    list.dropEvent(&event);
    return result;
}

TEST(DropTarget, MagnetLinkFromABrowserKeepsItsEncoding) {
    DropList list;
    QMimeData data;
    const QString magnet =
        u"magnet:?xt=urn:btih:dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c&dn=Big+Buck+Bunny&tr=udp%3A%2F%2Fexplodie.org%3A6969"_s;
    data.setData(u"text/uri-list"_s, (magnet + u"\r\n"_s).toUtf8());
    const Dropped dropped = dropOn(list, data);
    EXPECT_TRUE(dropped.files.isEmpty());
    EXPECT_EQ(dropped.url, magnet);
}

TEST(DropTarget, FilesFromAFileManagerArriveAsPaths) {
    DropList list;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(u"/home/u/Загрузки/a b.torrent"_s),
                  QUrl::fromLocalFile(u"/home/u/c.torrent"_s)});
    const Dropped dropped = dropOn(list, data);
    EXPECT_EQ(dropped.files,
              QStringList({u"/home/u/Загрузки/a b.torrent"_s, u"/home/u/c.torrent"_s}));
    EXPECT_TRUE(dropped.url.isEmpty());
}

TEST(DropTarget, PlainTextIsTakenAsTheLink) {
    DropList list;
    QMimeData data;
    data.setText(u"  https://example.org/file.torrent \n"_s);
    EXPECT_EQ(dropOn(list, data).url, u"https://example.org/file.torrent"_s);
}

} // namespace
