#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "support/program_environment.h"

namespace varkel::test {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs the built varkel-cli; backups go to a folder of the test program's own,
// or under `dataHome` when one is given.
inline CliRun cli(const QStringList& arguments, const QString& dataHome = QString())
{
    static QTemporaryDir home;
    QProcess process;
    process.setProcessEnvironment(ProgramEnvironment(dataHome.isEmpty() ? home.path() : dataHome));
    process.start(QStringLiteral(VARKEL_CLI), arguments);
    if (!process.waitForFinished(60'000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The records a JSON dump printed.
inline QJsonArray dumped(const CliRun& run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).array();
}

}  // namespace varkel::test
