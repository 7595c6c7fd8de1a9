#include "instance_server.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QTimer>

namespace varkel {

namespace {

// What a later start sends: this tag, then the path as a QString; or the second
// tag, the path and the window's name.
constexpr quint32 kRequestTag = 0x56524b31;        // "VRK1"
constexpr quint32 kWindowRequestTag = 0x56524b32;  // "VRK2"
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;
// The running program's answer once it has the request.
constexpr char kReceived = 'k';
// No request is anywhere near this long; a sender of more is cut off.
constexpr qint64 kMaximumRequestSize = 64 * 1024;
// A Unix socket path must fit sockaddr_un's 108 bytes, its ending zero included.
constexpr qsizetype kMaximumSocketPath = 100;
// The secret a name outside the private folder is made from.
constexpr qsizetype kSecretBytes = 16;

QByteArray ReadSecret(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray secret = file.read(kSecretBytes + 1);
    return secret.size() == kSecretBytes ? secret : QByteArray();
}

QByteArray Secret(const QString& tempFolder)
{
    const QString path = tempFolder + QStringLiteral("varkel-editor.key");
    if (QByteArray secret = ReadSecret(path); !secret.isEmpty())
        return secret;
    // Written whole under a name of its own, then renamed into place without
    // replacing anything, so no start reads half of it and two starts making it
    // at once both end up with the first one's.
    QByteArray secret(kSecretBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(secret.data()), kSecretBytes / 4);
    QTemporaryFile made(path + QStringLiteral(".XXXXXX"));
    made.setAutoRemove(false);
    if (made.open() && (made.write(secret) != kSecretBytes || !made.flush() || !made.rename(path)))
        made.remove();
    return ReadSecret(path);
}

// Cuts a connection off at once; its object goes once its signals are done.
void Drop(QLocalSocket* socket)
{
    socket->abort();
    socket->deleteLater();
}

}  // namespace

QString InstanceServerName(const QString& tempFolder)
{
#ifndef Q_OS_WIN
    const QString inside = tempFolder + QStringLiteral("varkel-editor.socket");
    if (QFile::encodeName(inside).size() <= kMaximumSocketPath)
        return inside;
#endif
    const QByteArray secret = Secret(tempFolder);
    if (secret.isEmpty())
        return {};
    return QStringLiteral("varkel-editor-") +
           QString::fromLatin1(QCryptographicHash::hash(secret, QCryptographicHash::Sha256).toHex().left(32));
}

QByteArray HandOverRequest(const QString& path, const QString& window)
{
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    if (window.isEmpty())
        out << kRequestTag << path;
    else
        out << kWindowRequestTag << path << window;
    return request;
}

InstanceServer::InstanceServer(QObject* parent) : InstanceServer(parent, Limits{}) {}

InstanceServer::InstanceServer(QObject* parent, Limits limits) : QObject(parent), limits_(limits) {}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& name)
{
    delete server_;
    server_ = nullptr;
    if (name.isEmpty())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed instance would refuse the address.
    QLocalServer::removeServer(name);
    if (!server_->listen(name))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            serve(socket);
    });
    return true;
}

void InstanceServer::serve(QLocalSocket* socket)
{
    if (served_ >= limits_.connections) {
        Drop(socket);
        return;
    }
    ++served_;
    connect(socket, &QObject::destroyed, this, [this] { --served_; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    QTimer::singleShot(limits_.requestMilliseconds, socket, [socket] { Drop(socket); });
    readRequest(socket);
}

void InstanceServer::setHandler(Handler handler)
{
    handler_ = std::move(handler);
    QTimer::singleShot(0, this, &InstanceServer::deliver);
}

void InstanceServer::readRequest(QLocalSocket* socket)
{
    if (socket->bytesAvailable() > kMaximumRequestSize) {
        Drop(socket);
        return;
    }
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    quint32 tag = 0;
    QString path;
    QString window;
    in >> tag >> path;
    if (tag == kWindowRequestTag)
        in >> window;
    if (!in.commitTransaction()) {
        // Not all there yet, or not a request of this program.
        if (in.status() == QDataStream::ReadCorruptData)
            Drop(socket);
        return;
    }
    if (tag != kRequestTag && tag != kWindowRequestTag) {
        Drop(socket);
        return;
    }
    // Confirmed at once: the later start ends, whatever questions opening the file asks here.
    socket->write(&kReceived, 1);
    socket->disconnectFromServer();
    pending_.emplace_back(path, window);
    // Handled from the event loop, not inside the socket's signal.
    QTimer::singleShot(0, this, &InstanceServer::deliver);
}

void InstanceServer::deliver()
{
    // A request that arrives while one is handled (its questions run an event
    // loop) waits for it.
    if (delivering_ || !handler_)
        return;
    delivering_ = true;
    while (!pending_.empty()) {
        const auto [path, window] = pending_.front();
        pending_.pop_front();
        handler_(path, window);
    }
    delivering_ = false;
}

bool HandOverToRunningInstance(const QString& name, const QString& path, const QString& window, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    socket.write(HandOverRequest(path, window));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kReceived;
}

}  // namespace varkel
