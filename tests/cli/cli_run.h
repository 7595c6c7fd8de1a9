#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace varkel::test {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// Where varkel-cli keeps its backups when the user's data folder is `dataHome`.
inline QString CliBackupFolder(const QString& dataHome)
{
    return dataHome + QStringLiteral("/varkel-editor/backups");
}

// Runs the built varkel-cli; backups go to a folder of the test program's own,
// or under `dataHome` when one is given.
inline CliRun cli(const QStringList& arguments, const QString& dataHome = QString())
{
    static QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.isEmpty() ? home.path() : dataHome);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    process.setProcessEnvironment(env);
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
