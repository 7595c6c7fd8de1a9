#pragma once

#include "saveeditor/game_folder_files.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_kinds.h"
#include "saveeditor/save_tables.h"
#include "support/file_bytes.h"
#include "support/temp_game_folder.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace varkel::test {

// A saved game and the scenario file beside it, read whole, with the record kinds
// of a saved game bound to them as the command line binds them (names and notes
// from the folder). The kinds keep pointers to the buffers, so it stays where it
// was made.
struct LoadedSave {
    QByteArray save;
    QByteArray scenario;
    SaveKindsContext context;
    RecordKinds kinds;

    LoadedSave() = default;
    LoadedSave(const LoadedSave&) = delete;
    LoadedSave& operator=(const LoadedSave&) = delete;

    // Slot `slot` of the demo folder; the intimacy levels of `intimacySlot` are records too.
    static std::unique_ptr<LoadedSave> read(const TempGameFolder& folder, int slot,
                                            std::optional<int> intimacySlot = std::nullopt)
    {
        FileStore store;
        const GameFolderFiles files = ReadGameFolderFiles(store, folder.path());
        return of(FileBytes(SaveGame::slotPath(folder.path(), slot)), files.scenario.value().bytes,
                  files.kindsContext(intimacySlot));
    }

    // The kinds of `context` over these buffers.
    static std::unique_ptr<LoadedSave> of(QByteArray save, QByteArray scenario, SaveKindsContext context)
    {
        auto loaded = std::make_unique<LoadedSave>();
        loaded->save = std::move(save);
        loaded->scenario = std::move(scenario);
        loaded->context = std::move(context);
        loaded->kinds = MakeSaveKinds(loaded->context, &loaded->scenario);
        for (const auto& kind : loaded->kinds)
            kind->load(loaded->save);
        return loaded;
    }

    // A copy of both buffers with kinds of its own.
    std::unique_ptr<LoadedSave> copy() const { return of(save, scenario, context); }

    // The place of the kind named `name` ("officers"); the test program ends when there is none.
    std::size_t kind(const QString& name) const
    {
        for (std::size_t k = 0; k < kinds.size(); ++k)
            if (kinds[k]->name() == name)
                return k;
        qFatal("no kind %s", qPrintable(name));
    }
    RecordKind& named(const QString& name) const { return *kinds[kind(name)]; }
};

// A suite over the demo saves of one demo folder, made once for the suite.
class DemoSaves : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new TempGameFolder; }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }
    static std::unique_ptr<LoadedSave> slot(int k, std::optional<int> intimacy = std::nullopt)
    {
        return LoadedSave::read(*folder, k, intimacy);
    }
    static QString path(int k) { return SaveGame::slotPath(folder->path(), k); }

    static inline TempGameFolder* folder = nullptr;
};

// Demo save `slot` of `folder` and the scenario file beside it, as the editor opens them.
inline std::unique_ptr<SaveDocument> OpenDemoDocument(const TempGameFolder& folder, int slot)
{
    SaveGame save;
    save.path = SaveGame::slotPath(folder.path(), slot);
    save.bytes = FileBytes(save.path);
    const QString scenarioPath = ScenarioFilePath(folder.path());
    FileStore store;
    return std::make_unique<SaveDocument>(std::move(save), ReadScenarioFile(store, scenarioPath).value(), scenarioPath);
}

}  // namespace varkel::test
