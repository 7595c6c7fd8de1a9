#pragma once

#include <QString>

#include <functional>

class QObject;

namespace varkel {

// The hand-over between the running editor and a later start of it (see
// instance_server.h). It lives in a module of its own, loaded when it is needed:
// the network library behind it would otherwise cost every start several
// milliseconds before its window shows.
struct HandOver {
    using Handler = std::function<void(const QString& path, const QString& window)>;
    // The running program's side: a listener for later starts of the user whose
    // private folder is `tempFolder`, a child of `parent`. Null when it cannot
    // listen.
    QObject* (*listen)(const QString& tempFolder, QObject* parent);
    // What arrives at `listener` before it has a handler waits for one.
    void (*setHandler)(QObject* listener, Handler handler);
    // A later start's side: true once the running program took `path` and
    // `window` (a name of --open; empty for none).
    bool (*handOver)(const QString& tempFolder, const QString& path, const QString& window, int timeoutMs);
};

// The module's one entry point, a function returning its HandOver.
inline constexpr char kHandOverEntry[] = "varkel_hand_over";

// Loads the module from beside the program or from the folder it is installed
// to. Null, with the reason on stderr, when it cannot be loaded.
const HandOver* LoadHandOver();

}  // namespace varkel
