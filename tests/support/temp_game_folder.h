#pragma once

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

}  // namespace varkel::test
