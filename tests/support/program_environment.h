#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace varkel::test {

// Where a program started with ProgramEnvironment(home) keeps its backups.
inline QString ProgramBackupFolder(const QString& home)
{
    return home + QStringLiteral("/backups");
}

// This process's environment with the settings, data and backups of the built
// programs it starts kept under `home`: XDG folders on Linux, and the backup
// folder named outright, since Windows ignores the XDG variables (and apart
// from the XDG place, so the tests show the variable is honoured).
inline QProcessEnvironment ProgramEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    env.insert(QStringLiteral("VARKEL_BACKUP_FOLDER"), ProgramBackupFolder(home));
    return env;
}

}  // namespace varkel::test
