// Damaged game folders: start-up and the saved-game editor give their message and
// carry on. Each row damages one file (or all saves) of a copy of the demo folder;
// CTest runs every row as its own process with a timeout, so a hang fails only
// that row.

#include "app/editor_factories.h"
#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_layout.h"
#include "saveeditor/save_file.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/game_folder.h"
#include "shared/picture_banks.h"
#include "shared/runtime_error.h"
#include "shared/session.h"
#include "shared/texts.h"
#include "shared/ui/start_window.h"
#include "shared/ui/start_up.h"
#include "support/gtest_qt.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
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
    bool notesUnreadable = false;      // the editor opens and says the notes cannot be read
    bool folderNotKept = false;        // start-up says the settings file could not keep the folder
};

struct Row {
    std::string name;
    QStringList files;  // the damaged files: one game file, all saves, or the settings file
    Damage damage = Damage::Sized;
    qint64 size = 0;  // of a Sized file
    int slot = -1;    // the damaged save's digit, or -1
    Expect expect;
    bool relative = false;  // `size` counts from the intact file's length

    bool settings() const { return files == QStringList{kSettingsFileName}; }
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

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
    // A cut past the end of a short file makes it longer, with zeros.
    cuts.insert(cuts.end(), longer.begin(), longer.end());
    std::vector<qint64> sizes;
    for (const qint64 size : cuts)
        if (size > 0 && size != fullSize && std::find(sizes.begin(), sizes.end(), size) == sizes.end())
            sizes.push_back(size);
    for (const qint64 size : sizes)
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

QString saveName(int k)
{
    return QStringLiteral("svd_0%1.sav").arg(k);
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

// The notes are only shown: the editor says it cannot read them and opens.
Expect notes(const Variant& v)
{
    Expect e;
    e.notesUnreadable = !isRegular(v);
    return e;
}

Expect scenario(const Variant& v)
{
    // Missing bytes of a short file read as zeros.
    Expect e;
    e.editor = isRegular(v) ? EditorOpen::Opens : EditorOpen::FileNotFound;
    return e;
}

// Start-up skips a save of 374,000 bytes or less; the slot menu refuses one shorter
// than 374,520 bytes, the Open dialog one shorter than 374,530.
Expect savedGame(const Variant& v, bool newest)
{
    Expect e;
    const bool regular = isRegular(v);
    const bool notTooLong = regular && v.size <= save::kMaximumSaveSize;
    e.newestSkipped = newest && !(regular && v.size > 374'000);
    e.slotMenu = !regular ? 257 : (notTooLong && v.size >= 374'520) ? kOpens : 254;
    e.openDialog = (notTooLong && v.size >= 374'530) ? kOpens : 254;
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

// The intact settings file, remembering `gameFolder`.
QByteArray settingsBytes(const QString& gameFolder)
{
    return "[Varkel]\r\nInstallDir=" + QFile::encodeName(gameFolder) + "\r\n";
}

constexpr qint64 kSettingsHeader = 10;  // "[Varkel]\r\n"
constexpr qint64 kSettingsKeyEnd = 21;  // ... "InstallDir="

std::vector<Row> rows()
{
    std::vector<Row> rows;
    using namespace demo;

    addRows(rows, QStringLiteral("g_maindy.vk"), kMainDataMinimumSize,
            {kFaceBankOffset, kFaceBankOffset + kFaceBankSize - 1, kFaceBankOffset + kFaceBankSize, kTreasureBankOffset,
             kTreasureBankOffset + kTreasureBankSize - 1},
            {kMainDataMinimumSize + 64 * 1024 * 1024}, -1, untouchedByTheseWindows);
    // Selgame.vk: cut after the bitmap's file header, its info header, its palette.
    addRows(rows, QStringLiteral("Selgame.vk"), kBackgroundFileSize, {14, 54, 1078}, {kBackgroundFileSize * 8}, -1,
            background);
    addRows(rows, QStringLiteral("Svd_sys.sav"), kSystemSaveFileSize, {kFileHeaderSize}, {kSystemSaveFileSize * 64}, -1,
            untouchedByTheseWindows);
    addRows(rows, QStringLiteral("RDText.vk"), kBiographyFileSize, {kFileHeaderSize}, {kBiographyFileSize * 64}, -1,
            untouchedByTheseWindows);
    addRows(rows, QStringLiteral("m_msg.vk"), kMessageFileSize, {kNoteOffset, kNoteOffset + kNoteBytes - 1},
            {kMessageFileSize * 8}, -1, notes);
    addRows(rows, QStringLiteral("d_sce.vk"), kScenarioFileSize,
            {kCityNameOffset, kCourtRankOffset, kTreasureRecordOffset, kScenarioFileSize - 1}, {kScenarioFileSize * 8},
            -1, scenario);

    const std::vector<qint64> saveCuts = {kGameYearOffset,
                                          kGameMonthOffset,
                                          kPersonMapOffset,
                                          kStatusBlockOffset,
                                          kLocationOffset,
                                          kPersonBlockOffset,
                                          kCityRecordOffset,
                                          kForceRecordOffset,
                                          kPlayerSlotOffset,
                                          kTreasureOwnerOffset,
                                          kRelationTableOffset,
                                          kFamilyRecordOffset,
                                          kBiographyOffset,
                                          kSaveKnownRegionsEnd,
                                          374'000,
                                          374'001,
                                          374'519,
                                          374'520,
                                          374'529,
                                          374'530,
                                          374'533};
    for (int k = 0; k < kSlotCount; ++k) {
        const qint64 size = k == kDemoLongSlot    ? kLongSaveFileSize
                            : k == kDemoShortSlot ? kShortSaveFileSize
                                                  : kSaveFileSize;
        addRows(rows, saveName(k), size, saveCuts, {kMaximumSaveSize, kMaximumSaveSize + 1}, k,
                k == kDemoNewestSlot ? newestSave : olderSave);
    }

    // No save qualifies at start-up.
    QStringList saves;
    for (int k = 0; k < kSlotCount; ++k)
        saves << saveName(k);
    Expect noSave;
    noSave.editor = EditorOpen::NoSave;
    rows.push_back({"all_saves_missing", saves, Damage::Missing, 0, -1, noSave});
    rows.push_back({"all_saves_size_374000", saves, Damage::Sized, 374'000, -1, noSave});
    rows.push_back({"all_saves_empty", saves, Damage::Sized, 0, -1, noSave});
    rows.push_back({"all_saves_directory", saves, Damage::Directory, 0, -1, noSave});
    rows.push_back({"all_saves_fifo", saves, Damage::Fifo, 0, -1, noSave});
    rows.push_back({"all_saves_dangling_link", saves, Damage::DanglingLink, 0, -1, noSave});

    // The settings file: a remembered folder that is no folder sends the user to
    // the folder search, which the test answers with the game folder.
    const QStringList settings{kSettingsFileName};
    Expect asks;
    asks.askedFolder = true;
    const Expect remembers;
    Expect either;  // a settings file this large may be refused as one
    either.askedFolder = std::nullopt;
    auto setting = [&](std::string name, Damage damage, qint64 size, bool relative, const Expect& expect) {
        rows.push_back({"VarkelEditor_ini_" + name, settings, damage, size, -1, expect, relative});
    };
    setting("missing", Damage::Missing, 0, false, asks);
    setting("empty", Damage::Sized, 0, false, asks);
    setting("size_5", Damage::Sized, 5, false, asks);
    setting("size_header", Damage::Sized, kSettingsHeader, false, asks);
    setting("size_header_plus_5", Damage::Sized, kSettingsHeader + 5, false, asks);
    setting("size_key", Damage::Sized, kSettingsKeyEnd, false, asks);
    setting("folder_cut_in_its_name", Damage::Sized, -4, true, asks);
    setting("folder_without_separator", Damage::Sized, -3, true, remembers);
    setting("without_line_end", Damage::Sized, -2, true, remembers);
    setting("one_byte_short", Damage::Sized, -1, true, remembers);
    setting("one_byte_longer", Damage::Sized, 1, true, remembers);
    setting("much_longer", Damage::Sized, 64 * 1024, true, remembers);
    // A settings file that cannot be read whole is not written over: the folder
    // found serves this run, and the user is told it was not kept.
    Expect asksNotKept = asks;
    asksNotKept.folderNotKept = true;
    Expect eitherNotKept = either;
    eitherNotKept.folderNotKept = true;
    setting("huge", Damage::Sized, 2 * 1024 * 1024, true, eitherNotKept);
    setting("directory", Damage::Directory, 0, false, asksNotKept);
    setting("fifo", Damage::Fifo, 0, false, asksNotKept);
    setting("dangling_link", Damage::DanglingLink, 0, false, asksNotKept);
#ifdef Q_OS_WIN
    // Windows has no pipes in the file system, and what QFile::link makes there is a shortcut file.
    std::erase_if(rows, [](const Row& r) { return r.damage == Damage::Fifo || r.damage == Damage::DanglingLink; });
#endif
    return rows;
}

// ---- building a row's folders ----------------------------------------------

// `size` bytes at `path`: the start of `source`, then a hole that reads as zeros.
// Runs of zeros in `source` stay holes, so a cut copy of the 62 MB picture file
// costs only its pictures.
bool writeSizedCopy(const QString& source, const QString& path, qint64 size)
{
    QFile in(source);
    QFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly) || !out.resize(size))
        return false;
    constexpr qint64 kChunk = 1024 * 1024;
    const qint64 copied = std::min(size, in.size());
    for (qint64 at = 0; at < copied;) {
        const QByteArray chunk = in.read(std::min(kChunk, copied - at));
        if (chunk.isEmpty())
            return false;
        if (chunk.count('\0') != chunk.size() && !(out.seek(at) && out.write(chunk) == chunk.size()))
            return false;
        at += chunk.size();
    }
    // The save start-up opens is the newest one: a damaged copy keeps its original's time.
    return out.flush() && out.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
}

// The settings file cut to `size` bytes, or grown with comment lines.
bool writeSettings(const QString& path, const QByteArray& intact, qint64 size)
{
    QByteArray bytes = intact.left(size);
    while (bytes.size() < size)
        bytes += "; a line the editor does not own\r\n";
    bytes.truncate(size);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

::testing::AssertionResult damage(const QString& path, Damage kind, const std::function<bool()>& writeSized,
                                  const QString& absentTarget)
{
    bool ok = true;
    switch (kind) {
    case Damage::Missing:
        break;
    case Damage::Sized:
        ok = writeSized();
        break;
    case Damage::Directory:
        ok = QDir().mkdir(path);
        break;
    case Damage::Fifo:
#ifndef Q_OS_WIN
        ok = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#endif
        break;
    case Damage::DanglingLink:
        ok = QFile::link(absentTarget, path);
        break;
    }
    if (ok)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cannot damage " << path.toStdString();
}

// ---- the flow ----------------------------------------------------------------

std::string shownText(const ScriptedPrompter::Shown& shown)
{
    return (shown.title + QStringLiteral(" | ") + shown.text).toStdString();
}

std::string errorText(int id)
{
    return (kErrorTitle + QStringLiteral(" | ") + GetResText(id)).toStdString();
}

SaveGameEditor* openEditorWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<SaveGameEditor*>(w); editor && editor->isVisible())
            return editor;
    return nullptr;
}

// The newest save of the base folder but `skipped` (later time wins, ties keep the lower digit).
int newestSaveBut(int skipped)
{
    int best = -1;
    QDateTime bestTime;
    for (int k = 0; k < save::kSlotCount; ++k) {
        const QDateTime time = QFileInfo(kBaseFolder + saveName(k)).lastModified();
        if (k != skipped && (best < 0 || time.toSecsSinceEpoch() > bestTime.toSecsSinceEpoch())) {
            best = k;
            bestTime = time;
        }
    }
    return best;
}

class DamagedFolder : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        const Row& row = GetParam();
        ASSERT_EQ(QFileInfo(kBaseFolder + QStringLiteral("g_maindy.vk")).size(), kMainDataMinimumSize)
            << "no demo folder in " << kBaseFolder.toStdString() << ": run this through ctest, whose fixture writes it";
        root_ = kCasesFolder + QString::fromStdString(row.name) + QLatin1Char('/');
        QDir(root_).removeRecursively();
        game_ = root_ + QStringLiteral("game/");
        program_ = root_ + QStringLiteral("program/");
        ASSERT_TRUE(QDir().mkpath(game_) && QDir().mkpath(program_) && QDir().mkpath(root_ + QStringLiteral("temp")));

        for (const QString& file : QDir(kBaseFolder).entryList(QDir::Files)) {
            if (!row.files.contains(file)) {
#ifdef Q_OS_WIN
                // A link there is a shortcut file, not the file: each case has its own copy.
                ASSERT_TRUE(QFile::copy(kBaseFolder + file, game_ + file)) << file.toStdString();
#else
                ASSERT_TRUE(QFile::link(kBaseFolder + file, game_ + file)) << file.toStdString();
#endif
            }
        }
        const QString absent = root_ + QStringLiteral("absent/");
        if (row.settings()) {
            const QByteArray intact = settingsBytes(game_);
            ASSERT_LE(game_.size(), 127) << "the settings file holds folders of up to 127 characters";
            const qint64 size = row.relative ? intact.size() + row.size : row.size;
            const QString path = program_ + kSettingsFileName;
            ASSERT_TRUE(damage(path, row.damage, [&] { return writeSettings(path, intact, size); }, absent + "ini"));
        } else {
            for (const QString& file : row.files) {
                const QString source = kBaseFolder + file;
                ASSERT_TRUE(QFileInfo(source).isFile()) << file.toStdString();
                const QString path = game_ + file;
                ASSERT_TRUE(
                    damage(path, row.damage, [&] { return writeSizedCopy(source, path, row.size); }, absent + file));
            }
        }

        session_.prompter = &prompter_;
        session_.dialogs = &dialogs_;
        session_.tempFolder = root_ + QStringLiteral("temp/");
        session_.files = FileStore(root_ + QStringLiteral("backups"));
        session_.endProgram = [this] { endAsked_ = true; };
        // The folder search, should start-up run it, is answered with the game folder once.
        dialogs_.folders.push_back(game_);
    }

    void TearDown() override
    {
        if (!HasFailure())
            QDir(root_).removeRecursively();
    }

    // What the prompter showed since the last call.
    std::vector<std::string> newMessages()
    {
        std::vector<std::string> out;
        for (; seen_ < prompter_.shown.size(); ++seen_)
            out.push_back(shownText(prompter_.shown[seen_]));
        return out;
    }

    // The slot menu or the Open dialog has tried to open `file`: it is open, or
    // `text` was shown and the save open before is still open.
    void expectOpenOrRefusal(SaveGameEditor& editor, const QString& file, int text, QString& current, const char* how)
    {
        SCOPED_TRACE(how);
        if (text == kOpens) {
            EXPECT_EQ(newMessages(), std::vector<std::string>{});
            current = game_ + file;
        } else {
            EXPECT_EQ(newMessages(), std::vector<std::string>{errorText(text)});
        }
        EXPECT_EQ(editor.saveGame().path, current);
    }

    QString root_, game_, program_;
    Session session_;
    ScriptedPrompter prompter_;
    ScriptedFileDialogs dialogs_;
    std::size_t seen_ = 0;
    bool endAsked_ = false;
};

TEST_P(DamagedFolder, ReportsAndCarriesOn)
{
    const Row& row = GetParam();
    const Expect& expect = row.expect;

    const auto form3 = StartUp(session_, {program_, row.settings() ? QString() : game_});
    ASSERT_TRUE(form3) << "no start window";
    std::vector<std::string> startUpMessages;
    if (expect.folderNotKept) {
        startUpMessages.push_back(
            shownText({QStringLiteral("未能把Varkel所在目錄記入設定文件，下次啟動時需要重新選擇。\n\n") +
                           RuntimeError::fileAccess(program_ + kSettingsFileName, QString()).message(),
                       kEditorTitle, MessageButtons::Ok, MessageIcon::Warning}));
    }
    EXPECT_EQ(newMessages(), startUpMessages) << "start-up";
    EXPECT_EQ(session_.gameFolder, game_);
    if (expect.askedFolder) {
        EXPECT_EQ(!dialogs_.folderPrompts.empty(), *expect.askedFolder) << "folder search";
    }
    EXPECT_EQ(form3->hasBackgroundPicture(), !expect.drawnTitle);
    EXPECT_EQ(session_.banks.faces.size(), kFaceBankSize);
    EXPECT_EQ(session_.banks.treasures.size(), kTreasureBankSize);

    InstallEditorFactories(*form3);
    form3->show();
    form3->openSaveGameEditor();
    SaveGameEditor* editor = openEditorWindow();
    switch (expect.editor) {
    case EditorOpen::Opens: {
        std::vector<std::string> expected;
        if (expect.notesUnreadable)
            expected.push_back(shownText({RuntimeError::fileNotFound(game_ + row.files[0]).message(), kErrorTitle,
                                          MessageButtons::Ok, MessageIcon::Critical}));
        EXPECT_EQ(newMessages(), expected) << "opening the save editor";
        ASSERT_TRUE(editor) << "no save editor";
        EXPECT_FALSE(form3->isVisible());
        const int slot = expect.newestSkipped ? newestSaveBut(demo::kDemoNewestSlot) : demo::kDemoNewestSlot;
        EXPECT_EQ(editor->saveGame().path, game_ + saveName(slot));
        EXPECT_EQ(editor->saveGame().bytes.size(), 374'534);  // a short save is padded, a long one cut
        break;
    }
    case EditorOpen::NoSave:
        EXPECT_EQ(newMessages(), std::vector<std::string>{errorText(256)}) << "opening the save editor";
        break;
    case EditorOpen::FileNotFound:
        EXPECT_EQ(newMessages(),
                  std::vector<std::string>{shownText({RuntimeError::fileNotFound(game_ + row.files[0]).message(),
                                                      kErrorTitle, MessageButtons::Ok, MessageIcon::Critical})})
            << "opening the save editor";
        break;
    }
    if (expect.editor != EditorOpen::Opens) {
        EXPECT_EQ(editor, nullptr) << "a save editor opened";
        EXPECT_TRUE(form3->isVisible());
    }

    if (editor) {
        editor->setPicker(nullptr);  // no picker may wait for a click
        // Every mode shows what the damaged files give.
        for (int mode : {1, 0})
            editor->modes().show(mode);
        EXPECT_EQ(newMessages(), std::vector<std::string>{}) << "switching modes";
        if (row.slot >= 0) {
            const QString file = row.files[0];
            QString current = editor->saveGame().path;
            editor->openSlot(row.slot);
            expectOpenOrRefusal(*editor, file, expect.slotMenu, current, "slot menu");
            dialogs_.opens.push_back(game_ + file);
            editor->menus().tOpenFile->trigger();
            expectOpenOrRefusal(*editor, file, expect.openDialog, current, "Open dialog");
        }
        editor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(openEditorWindow(), nullptr) << "the save editor did not close";
        EXPECT_EQ(newMessages(), std::vector<std::string>{}) << "closing the save editor";
        EXPECT_TRUE(form3->isVisible()) << "the start window did not come back";
    }
    EXPECT_FALSE(endAsked_) << "the program was ended";
    form3->close();
}

INSTANTIATE_TEST_SUITE_P(malformed, DamagedFolder, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace

int main(int argc, char* argv[])
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing of the user's own: the default game folder and the configuration
    // folder lie under a home of the test's own.
    const QString home = kCasesFolder + QStringLiteral("home");
    const QString runtime = home + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
