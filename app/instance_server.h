#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace varkel {

// The name under which the running program listens for later starts of it, one per
// user: on Unix a socket inside the user's private temporary folder (made 0700),
// elsewhere, or where that path is too long for a socket, a name hashed from that
// folder and the user's home.
QString InstanceServerName(const QString& tempFolder);

// Where the running program (the one holding the instance lock) hears of a later
// start: that start hands over the file it was given, or nothing, and ends. What
// arrives is passed to the handler one at a time; what arrives before there is
// one waits for it.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const QString& path)>;

    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening under `name`. Whatever a crashed instance left under that
    // name is removed first: the caller holds the instance lock, so no other
    // instance listens there. False when it cannot listen; the program then runs
    // on, and later starts find nobody to hand over to.
    bool listen(const QString& name);
    // `path` is empty when a later start was given no file.
    void setHandler(Handler handler);

private:
    void readRequest(QLocalSocket* socket);
    void deliver();

    QLocalServer* server_ = nullptr;
    Handler handler_;
    std::deque<QString> pending_;
    bool delivering_ = false;
};

// Run by a later start: asks the running program listening under `name` to come
// to the front and open `path` (absolute; empty for none). True once it confirmed;
// false when nobody listens there or no confirmation came within `timeoutMs`.
bool HandOverToRunningInstance(const QString& name, const QString& path, int timeoutMs);

}  // namespace varkel
