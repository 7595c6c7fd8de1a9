#include "shared/ui/unlike_file.h"

#include "shared/runtime_error.h"

namespace varkel {

const char* const kUnlikeSaveQuestion = "這個文件看起來不像Varkel的存檔，仍要打開嗎？";
const char* const kUnlikeSystemSaveQuestion = "這個文件看起來不像Varkel的系統存檔，仍要打開嗎？";

bool MayOpenUnlikeFile(Prompter& prompter, const QStringList& problems, const char* question)
{
    return problems.isEmpty() || prompter.ask(QString::fromUtf8(question), kEditorTitle, MessageButtons::YesNoDefaultNo,
                                              MessageIcon::Question) == Answer::Yes;
}

}  // namespace varkel
