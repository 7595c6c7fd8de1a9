#include "hand_over.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <cstdio>

namespace varkel {

const HandOver* LoadHandOver()
{
    static const HandOver* loaded = []() -> const HandOver* {
        // Beside the program in the build tree; installed, in its own folder
        // under the library folder, found relative to the program.
        const QDir programFolder(QCoreApplication::applicationDirPath());
        QString reasons;
        for (const QString& folder :
             {programFolder.path(), programFolder.filePath(QStringLiteral(VARKEL_MODULE_FOLDER))}) {
            QLibrary module(QDir(folder).filePath(QStringLiteral(VARKEL_HAND_OVER_MODULE)));
            if (const auto entry = reinterpret_cast<const HandOver* (*)()>(module.resolve(kHandOverEntry)))
                return entry();
            reasons += QStringLiteral("\n  ") + module.errorString();
        }
        std::fprintf(stderr, "varkel-editor: the hand-over module cannot be loaded:%s\n", qPrintable(reasons));
        return nullptr;
    }();
    return loaded;
}

}  // namespace varkel
