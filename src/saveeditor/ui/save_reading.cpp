#include "saveeditor/ui/save_reading.h"

#include "shared/texts.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/unlike_file.h"

namespace varkel {

std::optional<SaveGame> ReadSaveToOpen(Session& session, const QString& path, qint64 minimumSize, int missingText)
{
    SaveGame opened;
    RuntimeError error;
    switch (opened.openWhole(session.files, path, minimumSize, &error)) {
    case SaveGame::Refusal::None:
        if (MayOpenUnlikeFile(*session.prompter, SaveGame::shapeProblems(opened.bytes), kUnlikeSaveQuestion))
            return opened;
        return std::nullopt;
    case SaveGame::Refusal::Missing:
        session.prompter->tell(GetResText(missingText), kErrorTitle, MessageIcon::Critical);
        return std::nullopt;
    case SaveGame::Refusal::WrongSize:
        session.prompter->tell(GetResText(Text::FileDamaged), kErrorTitle, MessageIcon::Critical);
        return std::nullopt;
    case SaveGame::Refusal::Unreadable:
        ShowRuntimeError(*session.prompter, error);
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<SaveGame> ReadNewestSave(Session& session)
{
    SaveGame save;
    RuntimeError error;
    const QString newest = SaveGame::newestSlot(session.gameFolder);
    const auto refusal =
        newest.isEmpty() ? SaveGame::Refusal::Missing : save.openAtStartup(session.files, newest, &error);
    if (refusal == SaveGame::Refusal::Unreadable) {
        ShowRuntimeError(*session.prompter, error);
        return std::nullopt;
    }
    if (refusal != SaveGame::Refusal::None) {
        session.prompter->tell(GetResText(Text::NoSavedGame), kErrorTitle, MessageIcon::Critical);
        return std::nullopt;
    }
    // The newest slot file need not be a saved game; "No" leaves the window closed.
    if (!MayOpenUnlikeFile(*session.prompter, SaveGame::shapeProblems(save.bytes), kUnlikeSaveQuestion))
        return std::nullopt;
    return save;
}

std::optional<ScenarioData> ReadScenarioToOpen(Session& session)
{
    RuntimeError error;
    auto scenario = ReadScenarioFile(session.files, ScenarioFilePath(session.gameFolder), &error);
    if (!scenario)
        ShowRuntimeError(*session.prompter, error);
    return scenario;
}

}  // namespace varkel
