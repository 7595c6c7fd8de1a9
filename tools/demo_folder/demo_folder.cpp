#include "demo_folder/demo_folder.h"

#include <QDir>

namespace varkel::demo {

QString WriteDemoGameFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    return {};
}

}  // namespace varkel::demo
