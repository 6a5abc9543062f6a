#include "platform/single_copy.h"

#include "platform/text/hand_off_frame.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

namespace {

constexpr char kTaken = 'T';
constexpr char kRefused = 'R';

QString nameBase() {
    return u"vhelmq02-"_s + QString::number(::getuid());
}

// A folder only this user can enter; anything else could let another user hold the lock or
// pose as the running copy.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

int remainingMs(const QElapsedTimer& clock, int timeoutMs) {
    return static_cast<int>(qMax<qint64>(1, timeoutMs - clock.elapsed()));
}

// True when the sender has closed its end: all its data has been read and only the end of the
// stream is left.
bool senderGone(QLocalSocket* socket) {
    char probe = 0;
    const auto fd = static_cast<int>(socket->socketDescriptor());
    return fd >= 0 && ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

} // namespace

SingleCopy::SingleCopy() = default;

// The lock descriptor is left open on purpose: the lock belongs to the process, not to this
// object, and the system drops it when the process ends.
SingleCopy::~SingleCopy() = default;

QString SingleCopy::folder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) {
        return QFile::decodeName(runtime);
    }
    const QByteArray fallback = QFile::encodeName(u"/tmp/"_s + nameBase());
    if (::mkdir(fallback.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return isPrivateFolder(fallback) ? QFile::decodeName(fallback) : QString();
}

QString SingleCopy::lockPath() {
    const QString dir = folder();
    return dir.isEmpty() ? QString() : dir + u'/' + nameBase() + u".lock"_s;
}

QString SingleCopy::serverPath() {
    const QString dir = folder();
    return dir.isEmpty() ? QString() : dir + u'/' + nameBase() + u".socket"_s;
}

bool SingleCopy::acquire() {
    if (lockFd_ >= 0) {
        return first_;
    }
    const QString path = lockPath();
    if (path.isEmpty()) {
        first_ = true;
        return first_;
    }
    // Close-on-exec: a server or player started later must not inherit and outlive the lock.
    lockFd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                     0600);
    // A lock file that cannot be opened counts as held by someone else, as a refused lock does.
    first_ = lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0;
    return first_;
}

HandOffResult SingleCopy::handOff(const QString& argument, int timeoutMs) {
    const QString path = serverPath();
    if (path.isEmpty()) {
        return HandOffResult::NoListener;
    }
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(remainingMs(clock, timeoutMs))) {
        return HandOffResult::NoListener;
    }
    socket.write(handOffFrame(argument));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(clock, timeoutMs))) {
            socket.abort();
            return HandOffResult::NoListener;
        }
    }
    while (socket.bytesAvailable() < 1) {
        if (clock.elapsed() >= timeoutMs ||
            !socket.waitForReadyRead(remainingMs(clock, timeoutMs))) {
            // Closing tells the running copy, should it wake up later, that nobody waits.
            socket.abort();
            return HandOffResult::NoListener;
        }
    }
    char answer = 0;
    socket.getChar(&answer);
    socket.disconnectFromServer();
    return answer == kTaken ? HandOffResult::Delivered : HandOffResult::Refused;
}

bool SingleCopy::listen(std::function<bool()> canTake,
                        std::function<void(const QString&)> deliver) {
    const QString path = serverPath();
    if (!first_ || lockFd_ < 0 || path.isEmpty()) {
        return false;
    }
    canTake_ = std::move(canTake);
    deliver_ = std::move(deliver);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket left there belongs to a copy that died.
    QLocalServer::removeServer(path);
    if (!server_->listen(path)) {
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [this] { acceptConnections(); });
    return true;
}

void SingleCopy::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto received = std::make_shared<QByteArray>();
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket,
                         [this, socket, received] { readHandOff(socket, *received); });
        // Data may have arrived with the connection.
        if (socket->bytesAvailable() > 0) {
            readHandOff(socket, *received);
        }
    }
}

void SingleCopy::readHandOff(QLocalSocket* socket, QByteArray& received) {
    if (socket->state() != QLocalSocket::ConnectedState) {
        return;
    }
    received += socket->readAll();
    const HandOffFrameRead frame = readHandOffFrame(received);
    if (frame.state == HandOffFrameState::TooLong) {
        socket->abort();
        return;
    }
    if (frame.state == HandOffFrameState::Incomplete) {
        return;
    }
    const QString text = frame.text;
    QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
    if (senderGone(socket)) {
        socket->abort();
        return;
    }
    // A text already accepted but not yet delivered keeps the field busy, as the delivery
    // itself does while it runs.
    const bool taken = !deliveryPending_ && canTake_ && canTake_();
    socket->putChar(taken ? kTaken : kRefused);
    socket->flush();
    socket->disconnectFromServer();
    if (taken) {
        // Delivered from the event loop, not from inside the socket's signal: the delivery may
        // run nested event loops of its own and take long, and the sender is answered already.
        deliveryPending_ = true;
        QTimer::singleShot(0, server_.get(), [this, text] {
            deliveryPending_ = false;
            if (deliver_) {
                deliver_(text);
            }
        });
    }
}

} // namespace qb::platform
