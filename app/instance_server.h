#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <utility>

class QLocalServer;
class QLocalSocket;

namespace varkel {

// The name under which the running program listens for later starts of it, one per
// user: on Unix a socket inside the user's private folder. Elsewhere, or where that
// path is too long for a socket, the name is seen by every user of the machine (a
// named pipe, a socket in the shared temporary folder), so it is made from a random
// secret kept in the private folder, made there on first use: no other user can
// know it to listen under it first. Empty when the secret cannot be had.
QString InstanceServerName(const QString& tempFolder);

// What a later start sends: a tag, then the path (absolute; empty for none) and,
// with a tag of its own, the window to show (a name of --open). Without a window
// it is the request of the first programs that handed over, which a running
// program of theirs still takes.
QByteArray HandOverRequest(const QString& path, const QString& window = {});

// Where the running program (the one holding the instance lock) hears of a later
// start: that start hands over the file it was given, or nothing, and ends. What
// arrives is passed to the handler one at a time; what arrives before there is
// one waits for it.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QString& path, const QString& window)>;

    // A later start sends its request at once, so a connection that has not sent
    // it whole within `requestMilliseconds` is closed; at most `connections` are
    // served at a time and any more are closed as they come. Whatever connects
    // thus holds a bounded number of descriptors for a bounded time.
    struct Limits {
        int requestMilliseconds = 2000;
        int connections = 8;
    };

    explicit InstanceServer(QObject* parent = nullptr);
    InstanceServer(QObject* parent, Limits limits);
    ~InstanceServer() override;

    // Starts listening under `name`. Whatever a crashed instance left under that
    // name is removed first: the caller holds the instance lock, so no other
    // instance listens there. False when it cannot listen; the program then runs
    // on, and later starts find nobody to hand over to.
    bool listen(const QString& name);
    // `path` is empty when a later start was given no file, `window` when it was
    // given none to show.
    void setHandler(Handler handler);

private:
    void serve(QLocalSocket* socket);
    void readRequest(QLocalSocket* socket);
    void deliver();

    Limits limits_;
    QLocalServer* server_ = nullptr;
    int served_ = 0;
    Handler handler_;
    std::deque<std::pair<QString, QString>> pending_;  // path, window
    bool delivering_ = false;
};

// Run by a later start: asks the running program listening under `name` to come
// to the front, open `path` (absolute; empty for none) and show `window` (empty
// for none). True once it confirmed; false when nobody listens there or no
// confirmation came within `timeoutMs`.
bool HandOverToRunningInstance(const QString& name, const QString& path, const QString& window, int timeoutMs);

}  // namespace varkel
