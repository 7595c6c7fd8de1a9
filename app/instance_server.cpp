#include "instance_server.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace varkel {

namespace {

// What a later start sends: this tag, then the path as a QString.
constexpr quint32 kRequestTag = 0x56524b31;  // "VRK1"
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;
// The running program's answer once it has the request.
constexpr char kReceived = 'k';
// No request is anywhere near this long; a sender of more is cut off.
constexpr qint64 kMaximumRequestSize = 64 * 1024;
// A Unix socket path must fit sockaddr_un's 108 bytes, its ending zero included.
constexpr qsizetype kMaximumSocketPath = 100;

}  // namespace

QString InstanceServerName(const QString& tempFolder)
{
#ifndef Q_OS_WIN
    const QString inside = tempFolder + QStringLiteral("varkel-editor.socket");
    if (QFile::encodeName(inside).size() <= kMaximumSocketPath)
        return inside;
#endif
    const QByteArray user = (tempFolder + QLatin1Char('\n') + QDir::homePath()).toUtf8();
    return QStringLiteral("varkel-editor-") +
           QString::fromLatin1(QCryptographicHash::hash(user, QCryptographicHash::Sha256).toHex().left(24));
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& name)
{
    delete server_;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a crashed instance would refuse the address.
    QLocalServer::removeServer(name);
    if (!server_->listen(name))
        return false;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            readRequest(socket);
        }
    });
    return true;
}

void InstanceServer::setHandler(Handler handler)
{
    handler_ = std::move(handler);
    QTimer::singleShot(0, this, &InstanceServer::deliver);
}

void InstanceServer::readRequest(QLocalSocket* socket)
{
    if (socket->bytesAvailable() > kMaximumRequestSize) {
        socket->abort();
        return;
    }
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    quint32 tag = 0;
    QString path;
    in >> tag >> path;
    if (!in.commitTransaction()) {
        // Not all there yet, or not a request of this program.
        if (in.status() == QDataStream::ReadCorruptData)
            socket->abort();
        return;
    }
    if (tag != kRequestTag) {
        socket->abort();
        return;
    }
    // Confirmed at once: the later start ends, whatever questions opening the file asks here.
    socket->write(&kReceived, 1);
    socket->disconnectFromServer();
    pending_.push_back(path);
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
        const QString path = pending_.front();
        pending_.pop_front();
        handler_(path);
    }
    delivering_ = false;
}

bool HandOverToRunningInstance(const QString& name, const QString& path, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kRequestTag << path;
    socket.write(request);
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
