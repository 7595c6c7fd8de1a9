#include "shared/document.h"

#include <algorithm>

namespace varkel {

bool DocumentChange::touches(int recordKind, int record) const
{
    return everything() || (kind == recordKind && std::find(records.begin(), records.end(), record) != records.end());
}

Document::Document(QObject* parent) : QObject(parent) {}

void Document::startHistory(std::vector<QByteArray*> buffers, const std::vector<bool>& unsaved)
{
    buffers_ = buffers;
    history_.reset(std::move(buffers), unsaved);
    steps_.clear();
    position_ = 0;
}

bool Document::modified(int index) const
{
    return index >= 0 && std::size_t(index) < buffers_.size() && history_.differsFromSaved(index);
}

bool Document::anyModified() const
{
    for (std::size_t i = 0; i < buffers_.size(); ++i)
        if (history_.differsFromSaved(int(i)))
            return true;
    return false;
}

QString Document::undoName() const
{
    return position_ > 0 ? steps_[position_ - 1].name : QString();
}

QString Document::redoName() const
{
    return position_ < steps_.size() ? steps_[position_].name : QString();
}

bool Document::applyEdit(DocumentChange change, QString name, const std::function<bool()>& edit)
{
    Q_ASSERT(change.cause == DocumentChange::Cause::Apply || change.cause == DocumentChange::Cause::Batch);
    // Copies share the bytes until the edit writes, so keeping them costs nothing.
    std::vector<QByteArray> before;
    before.reserve(buffers_.size());
    for (const QByteArray* buffer : buffers_)
        before.push_back(*buffer);
    if (!edit()) {
        for (std::size_t i = 0; i < buffers_.size(); ++i)
            *buffers_[i] = before[i];
        return false;
    }
    if (!history_.record())
        return true;
    steps_.resize(position_);
    steps_.push_back({change, std::move(name)});
    ++position_;
    std::vector<bool> touched(buffers_.size());
    for (std::size_t i = 0; i < buffers_.size(); ++i)
        touched[i] = *buffers_[i] != before[i];
    rebuild(touched);
    ++revision_;
    emit changed(change);
    emit stateChanged();
    return true;
}

bool Document::undo()
{
    if (!history_.undo())
        return false;
    restored(steps_[--position_].change, DocumentChange::Cause::Undo);
    return true;
}

bool Document::redo()
{
    if (!history_.redo())
        return false;
    restored(steps_[position_++].change, DocumentChange::Cause::Redo);
    return true;
}

void Document::restored(DocumentChange change, DocumentChange::Cause cause)
{
    rebuild(std::vector<bool>(buffers_.size(), true));
    ++revision_;
    change.cause = cause;
    emit changed(change);
    emit stateChanged();
}

void Document::announceOpened()
{
    rebuild(std::vector<bool>(buffers_.size(), true));
    ++revision_;
    DocumentChange change;
    change.cause = DocumentChange::Cause::Open;
    emit changed(change);
    emit stateChanged();
}

void Document::markSaved(int index)
{
    history_.markSaved(index);
    emit stateChanged();
}

}  // namespace varkel
