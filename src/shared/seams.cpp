#include "shared/seams.h"

#include <QDir>

namespace varkel {

QString ShowOpenDialog(FileDialogs& dialogs, const FileDialogRequest& request)
{
    QString path = dialogs.openFile(request).trimmed();
    while (path.endsWith(QChar(0)))
        path.chop(1);
    return path;
}

QString ShowSaveDialog(FileDialogs& dialogs, const FileDialogRequest& request)
{
    return dialogs.saveFile(request).trimmed();
}

QString BrowseForFolder(FileDialogs& dialogs, const QString& prompt)
{
    QString path = dialogs.chooseFolder(prompt);
    if (path.isEmpty())
        return path;
    path = QDir::toNativeSeparators(path);
    const QChar sep = QDir::separator();
    while (path.size() > 1 && path.endsWith(sep) && !(path.size() == 3 && path[1] == QLatin1Char(':')))
        path.chop(1);
    return path;
}

}  // namespace varkel
