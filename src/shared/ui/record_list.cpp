#include "shared/ui/record_list.h"

#include <QListWidget>

#include <algorithm>
#include <numeric>

namespace varkel {

RecordList::RecordList(QListWidget& list, Prompter& prompter, View view, QObject* parent)
    : QObject(parent), list_(list), prompter_(prompter), view_(std::move(view))
{
    connect(&list_, &QListWidget::currentRowChanged, this, &RecordList::rowChosen);
}

void RecordList::addRow(int n, const QString& text)
{
    records_.push_back(n);
    list_.addItem(text);
}

void RecordList::setRows(const QStringList& rows, int first)
{
    {
        const QSignalBlocker quiet(&list_);
        clear();
        list_.addItems(rows);
    }
    records_.resize(std::size_t(rows.size()));
    std::iota(records_.begin(), records_.end(), 0);
    list_.setCurrentRow(first);
}

void RecordList::clear()
{
    list_.clear();
    records_.clear();
    shown_ = -1;
}

int RecordList::rowOf(int n) const
{
    const auto at = std::find(records_.begin(), records_.end(), n);
    return at == records_.end() ? -1 : int(at - records_.begin());
}

int RecordList::selectedRecord() const
{
    const int row = list_.currentRow();
    return row >= 0 && row < int(records_.size()) ? records_[std::size_t(row)] : -1;
}

void RecordList::choose(int n)
{
    if (const int row = rowOf(n); row >= 0)
        list_.setCurrentRow(row);
}

void RecordList::show(int n)
{
    shown_ = n;
    view_.show(n);
}

bool RecordList::viewDiffers() const
{
    return shown_ >= 0 && view_.differs();
}

bool RecordList::apply(int n)
{
    if (!view_.store(n))
        return false;
    shown_ = n;
    emit stored(n);
    return true;
}

void RecordList::applySelected()
{
    if (const int n = selectedRecord(); n >= 0)
        apply(n);
}

PendingEdits RecordList::pendingEdits()
{
    return {[this] { return viewDiffers(); }, [this] { return apply(shown_); }, [this] { show(shown_); }};
}

void RecordList::rowChosen()
{
    const int n = selectedRecord();
    if (n >= 0 && n != shown_ && MayMoveList(list_, list_.currentRow(), rowOf(shown_), prompter_, pendingEdits()))
        show(n);
}

}  // namespace varkel
