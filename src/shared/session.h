#pragma once

#include "shared/file_store.h"
#include "shared/picture_banks.h"
#include "shared/seams.h"

#include <QString>
#include <QStringList>

#include <cstdlib>
#include <functional>

namespace varkel {

inline constexpr int kOfficerNameTableSize = 1721;
inline constexpr int kNoOfficer = 1720;

// The values the whole program shares: folders, picture banks and the officer
// name table of the open file. One object, handed to every window.
struct Session {
    QString programFolder;
    QString gameFolder;
    QString settingsPath;
    QString tempFolder;
    PictureBanks banks;

    Prompter* prompter = nullptr;
    FileDialogs* dialogs = nullptr;
    FileStore files;  // every write over a game file goes through here

    // Officer data of the file the open editor works on.
    int officerCount = 0;
    QStringList officerNames = QStringList(kOfficerNameTableSize);

    int playedSlot = 0;

    // Ends the program at once after an error nothing can recover from (no save,
    // no clean-up). Tests replace it to see that it was asked for.
    std::function<void()> endProgram = [] { std::exit(EXIT_FAILURE); };

    QString faceBitmapPath() const { return tempFolder + kFaceBitmapName; }
};

}  // namespace varkel
