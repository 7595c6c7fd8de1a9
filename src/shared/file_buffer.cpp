#include "shared/file_buffer.h"

#include <QFileInfo>

namespace varkel {

FileBuffer::Refusal FileBuffer::refusalOf(const RuntimeError& error)
{
    return error.isFileNotFound() ? Refusal::Missing : Refusal::Unreadable;
}

FileBuffer::Refusal FileBuffer::openWhole(FileStore& store, const QString& file, qint64 minimumSize, qint64 maximumSize,
                                          RuntimeError* error)
{
    RuntimeError failure = RuntimeError::fileNotFound(file);
    const QFileInfo info(file);
    if (!info.isFile()) {
        if (error)
            *error = failure;
        return Refusal::Missing;
    }
    if (info.size() < minimumSize || info.size() > maximumSize)
        return Refusal::WrongSize;
    // One byte more than allowed tells a file that grew since it was looked at.
    auto data = store.read(file, maximumSize + 1, &failure);
    if (!data) {
        if (error)
            *error = failure;
        return refusalOf(failure);
    }
    if (data->size() < minimumSize || data->size() > maximumSize)
        return Refusal::WrongSize;
    bytes = std::move(*data);
    path = file;
    return Refusal::None;
}

std::optional<RuntimeError> FileBuffer::saveAs(FileStore& store, const QString& newPath)
{
    if (auto error = store.write(newPath, bytes, false))
        return error;
    path = newPath;
    return std::nullopt;
}

}  // namespace varkel
