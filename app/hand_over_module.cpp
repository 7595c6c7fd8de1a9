// The module that carries the hand-over and, with it, the network library.
#include "hand_over.h"
#include "instance_server.h"

namespace {

QObject* Listen(const QString& tempFolder, QObject* parent)
{
    auto* server = new varkel::InstanceServer(parent);
    if (server->listen(varkel::InstanceServerName(tempFolder)))
        return server;
    delete server;
    return nullptr;
}

void SetHandler(QObject* listener, varkel::HandOver::Handler handler)
{
    if (auto* server = qobject_cast<varkel::InstanceServer*>(listener))
        server->setHandler(std::move(handler));
}

bool HandOverFile(const QString& tempFolder, const QString& path, const QString& window, int timeoutMs)
{
    return varkel::HandOverToRunningInstance(varkel::InstanceServerName(tempFolder), path, window, timeoutMs);
}

}  // namespace

extern "C" Q_DECL_EXPORT const varkel::HandOver* varkel_hand_over()
{
    static const varkel::HandOver handOver{&Listen, &SetHandler, &HandOverFile};
    return &handOver;
}
