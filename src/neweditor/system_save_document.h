#pragma once

#include "neweditor/biography_file.h"
#include "neweditor/system_save.h"
#include "shared/document.h"
#include "shared/file_store.h"
#include "shared/record_kind.h"
#include "shared/runtime_error.h"

#include <optional>

namespace varkel {

// The kinds of record an edit of the system save names in its change.
enum class SystemSaveRecord {
    NewOfficer,  // a player-made officer with its biography; records are 0..99
};

// The open system save with the biography file of the game folder, which the
// game rewrites whenever it writes the system save.
class SystemSaveDocument : public Document {
    Q_OBJECT
public:
    enum Buffer { kSystemSaveBuffer = 0, kBiographyBuffer = 1 };

    SystemSaveDocument(SystemSave file, BiographyFile biographies, QObject* parent = nullptr);

    QString path() const override { return file_.path; }
    const SystemSave& file() const { return file_; }
    const BiographyFile& biographies() const { return biographies_; }

    // Stores `changes` into new officer `record` through the new officers' checked
    // write (biography included), as one undo step named for the officer and its
    // fields. The kind's problem when it refuses; nothing is stored then.
    std::optional<FieldProblem> write(int record, const RecordChanges& changes);
    // Whether that write would change the files or be refused: made on copies.
    bool differs(int record, const RecordChanges& changes) const;

    // Other files in place of the open ones; the history starts afresh.
    void open(SystemSave file, BiographyFile biographies);
    // Writes the system save over its path / to `path`, which becomes its path;
    // the biographies over theirs. A failed write keeps the unsaved state.
    std::optional<RuntimeError> saveSystemSave(FileStore& files);
    std::optional<RuntimeError> saveSystemSaveAs(FileStore& files, const QString& path);
    std::optional<RuntimeError> saveBiographies(FileStore& files);

private:
    SystemSave file_;
    BiographyFile biographies_;
};

}  // namespace varkel
