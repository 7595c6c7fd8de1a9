#include "neweditor/system_save_document.h"

namespace varkel {

SystemSaveDocument::SystemSaveDocument(SystemSave file, BiographyFile biographies, QObject* parent)
    : Document(parent), file_(std::move(file)), biographies_(std::move(biographies))
{
    startHistory({&file_.bytes, &biographies_.bytes});
}

bool SystemSaveDocument::apply(int record, const Edit& edit)
{
    DocumentChange change;
    change.kind = int(SystemSaveRecord::NewOfficer);
    change.records = {record};
    return applyEdit(std::move(change), [&] { return edit(file_, biographies_); });
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
