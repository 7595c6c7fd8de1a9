#pragma once

#include "shared/session.h"

#include <QString>
#include <QTemporaryDir>

namespace varkel::test {

// A freshly written demo game folder in a temporary directory, removed afterwards.
class TempGameFolder {
public:
    TempGameFolder();
    QString path() const;  // with a trailing separator
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// A fresh session over `folder`, with the given prompts and dialogs; temporary
// bitmaps and backups go to `temp`.
void PrepareSession(Session& session, Prompter& prompter, FileDialogs& dialogs, const TempGameFolder& folder,
                    const QTemporaryDir& temp);

}  // namespace varkel::test
