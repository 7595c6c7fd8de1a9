#include "neweditor/system_save_document.h"

#include "neweditor/new_officer_kind.h"

namespace varkel {

SystemSaveDocument::SystemSaveDocument(SystemSave file, BiographyFile biographies, QObject* parent)
    : Document(parent), file_(std::move(file)), biographies_(std::move(biographies))
{
    startHistory({&file_.bytes, &biographies_.bytes});
}

namespace {

// The new officers' kind over `file` and `biographies`, which must outlive it.
std::optional<FieldProblem> writeInto(QByteArray& file, QByteArray& biographies, int record,
                                      const RecordChanges& changes)
{
    NewOfficerKind kind(&biographies);
    kind.load(file);
    return StoreChanges(kind, record, changes);
}

}  // namespace

std::optional<FieldProblem> SystemSaveDocument::write(int record, const RecordChanges& changes)
{
    NewOfficerKind named(&biographies_.bytes);
    named.load(file_.bytes);
    DocumentChange change;
    change.kind = int(SystemSaveRecord::NewOfficer);
    change.records = {record};
    std::optional<FieldProblem> problem;
    applyEdit(std::move(change), EditStepName(QStringLiteral("新武將"), named, record, changes), [&] {
        problem = writeInto(file_.bytes, biographies_.bytes, record, changes);
        return !problem;
    });
    return problem;
}

bool SystemSaveDocument::differs(int record, const RecordChanges& changes) const
{
    if (changes.empty())
        return false;
    QByteArray file = file_.bytes;
    QByteArray biographies = biographies_.bytes;
    return writeInto(file, biographies, record, changes) || file != file_.bytes || biographies != biographies_.bytes;
}

void SystemSaveDocument::open(SystemSave file, BiographyFile biographies)
{
    file_ = std::move(file);
    biographies_ = std::move(biographies);
    startHistory({&file_.bytes, &biographies_.bytes});
    announceOpened();
}

std::optional<RuntimeError> SystemSaveDocument::saveSystemSave(FileStore& files)
{
    auto error = file_.save(files);
    if (!error)
        markSaved(kSystemSaveBuffer);
    return error;
}

std::optional<RuntimeError> SystemSaveDocument::saveSystemSaveAs(FileStore& files, const QString& path)
{
    auto error = file_.saveAs(files, path);
    if (!error)
        markSaved(kSystemSaveBuffer);
    return error;
}

std::optional<RuntimeError> SystemSaveDocument::saveBiographies(FileStore& files)
{
    auto error = biographies_.save(files);
    if (!error)
        markSaved(kBiographyBuffer);
    return error;
}

}  // namespace varkel
