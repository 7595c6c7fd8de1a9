// Damaged game folders: start-up and the saved-game editor give their message and
// carry on. Each row damages one file (or all saves) of a copy of the demo folder;
// CTest runs every row as its own process with a timeout, so a hang fails only
// that row.

#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_layout.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/form4.h"
#include "shared/game_folder.h"
#include "shared/picture_banks.h"
#include "shared/runtime_error.h"
#include "shared/session.h"
#include "shared/texts.h"
#include "shared/ui/editor_factories.h"
#include "shared/ui/form3.h"
#include "shared/ui/start_up.h"
#include "support/gtest_qt.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

using namespace varkel;

namespace {

// The demo folder written once by the CTest fixture, and where rows build theirs.
const QString kBaseFolder = QStringLiteral(VARKEL_MALFORMED_BASE "/");
const QString kCasesFolder = QStringLiteral(VARKEL_MALFORMED_CASES "/");

enum class Damage { Missing, Sized, Directory, Fifo, DanglingLink };

// What the saved-game editor does when the user opens it.
enum class EditorOpen { Opens, NoSave, FileNotFound };

// A slot menu item or the Open dialog: the file opens (0) or this text is shown.
constexpr int kOpens = 0;

struct Expect {
    bool drawnTitle = false;
    EditorOpen editor = EditorOpen::Opens;
    bool newestSkipped = false;        // start-up opens the next newest save
    int slotMenu = kOpens;             // the damaged save's slot menu item
    int openDialog = kOpens;           // the damaged save through the Open dialog
    std::optional<bool> askedFolder = false;  // the folder search ran (nullopt: either)
};

struct Row {
    std::string name;
    QStringList files;  // the damaged files: one game file, all saves, or the settings file
    Damage damage = Damage::Sized;
    qint64 size = 0;  // of a Sized file
    int slot = -1;    // the damaged save's digit, or -1
    Expect expect;

    bool settings() const { return files == QStringList{kSettingsFileName}; }
};

// ---- the rows --------------------------------------------------------------

std::string nameOf(const QString& file)
{
    std::string s = file.toStdString();
    for (char& c : s)
        if (c == '.')
            c = '_';
    return s;
}

struct Variant {
    std::string name;
    Damage damage;
    qint64 size = 0;
};

// Missing, empty, cut at each of `cuts`, one byte short, one byte and much longer,
// and the three kinds of name that are no regular file.
std::vector<Variant> variants(qint64 fullSize, std::vector<qint64> cuts, std::vector<qint64> longer)
{
    std::vector<Variant> out = {{"missing", Damage::Missing}, {"empty", Damage::Sized, 0}};
    cuts.push_back(fullSize - 1);
    longer.insert(longer.begin(), fullSize + 1);
    std::vector<qint64> sizes;
    for (const qint64 size : cuts)
        if (size > 0 && size < fullSize && std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    for (const qint64 size : sizes)
        out.push_back({"size_" + std::to_string(size), Damage::Sized, size});
    for (const qint64 size : longer)
        out.push_back({"size_" + std::to_string(size), Damage::Sized, size});
    out.push_back({"directory", Damage::Directory});
    out.push_back({"fifo", Damage::Fifo});
    out.push_back({"dangling_link", Damage::DanglingLink});
    return out;
}

void addRows(std::vector<Row>& rows, const QString& file, qint64 fullSize, const std::vector<qint64>& cuts,
             const std::vector<qint64>& longer, int slot, Expect (*expect)(const Variant&))
{
    for (const Variant& v : variants(fullSize, cuts, longer))
        rows.push_back({nameOf(file) + "_" + v.name, {file}, v.damage, v.size, slot, expect(v)});
}

bool isRegular(const Variant& v)
{
    return v.damage == Damage::Sized;
}

Expect untouchedByTheseWindows(const Variant&)
{
    return {};
}

Expect background(const Variant&)
{
    Expect e;
    e.drawnTitle = true;  // every variant has another size or is no file
    return e;
}

Expect scenario(const Variant& v)
{
    // Missing bytes of a short file read as zeros.
    Expect e;
    e.editor = isRegular(v) ? EditorOpen::Opens : EditorOpen::FileNotFound;
    return e;
}

Expect savedGame(const Variant& v, bool newest)
{
    Expect e;
    const bool sizeFits = isRegular(v) && v.size <= save::kMaximumSaveSize;
    e.newestSkipped = newest && !(isRegular(v) && v.size >= save::kNewestSlotMinimumSize);
    e.slotMenu = !isRegular(v) ? 257 : (sizeFits && v.size >= save::kSlotMinimumSize) ? kOpens : 254;
    e.openDialog = (sizeFits && v.size >= save::kOpenMinimumSize) ? kOpens : 254;
    return e;
}

Expect newestSave(const Variant& v)
{
    return savedGame(v, true);
}

Expect olderSave(const Variant& v)
{
    return savedGame(v, false);
}

// The settings file beside the program, for a game folder of this length.
QByteArray settingsBytes(const QString& gameFolder)
{
    return "[Varkel]\r\nInstallDir=" + QFile::encodeName(gameFolder) + "\r\n";
}

constexpr qsizetype kSettingsHeader = 10;  // "[Varkel]\r\n"
constexpr qsizetype kSettingsKeyEnd = 21;  // ... "InstallDir="
constexpr qint64 kSettingsLongTail = 64 * 1024;
constexpr qint64 kSettingsHugeTail = 2 * 1024 * 1024;

std::vector<Row> rows()
{
    std::vector<Row> rows;
    using namespace demo;

    addRows(rows, QStringLiteral("g_maindy.vk"), kMainDataMinimumSize,
            {kFaceBankOffset, kFaceBankOffset + kFaceBankSize - 1, kFaceBankOffset + kFaceBankSize,
             kTreasureBankOffset, kTreasureBankOffset + kTreasureBankSize - 1},
            {kMainDataMinimumSize + 64 * 1024 * 1024}, -1, untouchedByTheseWindows);
    addRows(rows, QStringLiteral("Selgame.vk"), kBackgroundFileSize, {14, 54, 1078}, {kBackgroundFileSize * 8}, -1,
            background);
    addRows(rows, QStringLiteral("Svd_sys.sav"), kSystemSaveFileSize, {kFileHeaderSize}, {kSystemSaveFileSize * 64}, -1,
            untouchedByTheseWindows);
    addRows(rows, QStringLiteral("RDText.vk"), kBiographyFileSize, {kFileHeaderSize}, {kBiographyFileSize * 64}, -1,
            untouchedByTheseWindows);
    addRows(rows, QStringLiteral("m_msg.vk"), kMessageFileSize, {kNoteOffset}, {kMessageFileSize * 8}, -1,
            untouchedByTheseWindows);
    addRows(rows, QStringLiteral("d_sce.vk"), kScenarioFileSize,
            {kCityNameOffset, kCourtRankOffset, kTreasureRecordOffset, kScenarioFileSize - 1},
            {kScenarioFileSize * 8}, -1, scenario);

    const std::vector<qint64> saveCuts = {
        kGameYearOffset, kGameMonthOffset, kPersonMapOffset, kStatusBlockOffset, kLocationOffset,
        kPersonBlockOffset, kCityRecordOffset, kForceRecordOffset, kPlayerSlotOffset, kTreasureOwnerOffset,
        kRelationTableOffset, kFamilyRecordOffset, kBiographyOffset, kSaveKnownRegionsEnd,
        374'000, 374'001, 374'519, 374'520, 374'529, 374'530, 374'533};
    for (int k = 0; k < kSlotCount; ++k) {
        const qint64 size =
            k == kDemoLongSlot ? kLongSaveFileSize : k == kDemoShortSlot ? kShortSaveFileSize : kSaveFileSize;
        addRows(rows, SaveGame::slotPath(QString(), k).mid(1), size, saveCuts,
                {kMaximumSaveSize, kMaximumSaveSize + 1}, k, k == kDemoNewestSlot ? newestSave : olderSave);
    }

    // No save qualifies at start-up.
    QStringList saves;
    for (int k = 0; k < kSlotCount; ++k)
        saves << SaveGame::slotPath(QString(), k).mid(1);
    Expect noSave;
    noSave.editor = EditorOpen::NoSave;
    rows.push_back({"all_saves_missing", saves, Damage::Missing, 0, -1, noSave});
    rows.push_back({"all_saves_size_374000", saves, Damage::Sized, 374'000, -1, noSave});
    rows.push_back({"all_saves_empty", saves, Damage::Sized, 0, -1, noSave});
    rows.push_back({"all_saves_directory", saves, Damage::Directory, 0, -1, noSave});
    rows.push_back({"all_saves_fifo", saves, Damage::Fifo, 0, -1, noSave});
    rows.push_back({"all_saves_dangling_link", saves, Damage::DanglingLink, 0, -1, noSave});

    // The settings file: a remembered folder that is no folder sends the user to
    // the folder search, which the test answers with the game folder. Sizes are
    // cuts into the file's lines, from its end when negative.
    const QStringList settings{kSettingsFileName};
    Expect asks;
    asks.askedFolder = true;
    const Expect remembers;
    Expect either;
    either.askedFolder = std::nullopt;
    rows.push_back({"VarkelEditor_ini_missing", settings, Damage::Missing, 0, -1, asks});
    rows.push_back({"VarkelEditor_ini_empty", settings, Damage::Sized, 0, -1, asks});
    rows.push_back({"VarkelEditor_ini_size_5", settings, Damage::Sized, 5, -1, asks});
    rows.push_back({"VarkelEditor_ini_size_header", settings, Damage::Sized, kSettingsHeader, -1, asks});
    rows.push_back({"VarkelEditor_ini_size_header_plus_5", settings, Damage::Sized, kSettingsHeader + 5, -1, asks});
    rows.push_back({"VarkelEditor_ini_size_key", settings, Damage::Sized, kSettingsKeyEnd, -1, asks});
    rows.push_back({"VarkelEditor_ini_folder_cut_in_its_name", settings, Damage::Sized, -4, -1, asks});
    rows.push_back({"VarkelEditor_ini_folder_without_separator", settings, Damage::Sized, -3, -1, remembers});
    rows.push_back({"VarkelEditor_ini_without_line_end", settings, Damage::Sized, -2, -1, remembers});
    rows.push_back({"VarkelEditor_ini_one_byte_short", settings, Damage::Sized, -1, -1, remembers});
    rows.push_back({"VarkelEditor_ini_one_byte_longer", settings, Damage::Sized, 1, -1, remembers});
    rows.back().size = kSettingsLongTail + 1;  // marks "longer"; see writeSettings
    rows.back().size = 1'000'000'000 + 1;
    rows.push_back({"VarkelEditor_ini_much_longer", settings, Damage::Sized, 1'000'000'000 + kSettingsLongTail, -1,
                    remembers});
    rows.push_back({"VarkelEditor_ini_huge", settings, Damage::Sized, 1'000'000'000 + kSettingsHugeTail, -1, either});
    rows.push_back({"VarkelEditor_ini_directory", settings, Damage::Directory, 0, -1, asks});
    rows.push_back({"VarkelEditor_ini_fifo", settings, Damage::Fifo, 0, -1, asks});
    rows.push_back({"VarkelEditor_ini_dangling_link", settings, Damage::DanglingLink, 0, -1, asks});
    return rows;
}

}  // namespace
