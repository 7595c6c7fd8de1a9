#include "shared/undo_history.h"

#include <algorithm>
#include <cstring>

namespace varkel {

namespace {

// Changed runs closer than this are kept as one range: fewer ranges cost less
// than the equal bytes between them.
constexpr qsizetype kJoinGap = 16;

}  // namespace

void UndoHistory::reset(std::vector<QByteArray*> buffers, const std::vector<bool>& unsaved)
{
    buffers_ = std::move(buffers);
    atStep_.clear();
    for (const QByteArray* b : buffers_)
        atStep_.push_back(*b);
    steps_.clear();
    position_ = 0;
    saved_.assign(buffers_.size(), std::size_t{0});
    for (std::size_t i = 0; i < unsaved.size() && i < saved_.size(); ++i)
        if (unsaved[i])
            saved_[i].reset();
}

void UndoHistory::changesOf(int index, std::vector<Range>& into) const
{
    const QByteArray& was = atStep_[index];
    const QByteArray& now = *buffers_[index];
    const qsizetype common = std::min(was.size(), now.size());
    const char* a = was.constData();
    const char* b = now.constData();
    // Most of a buffer is unchanged: skip equal blocks with memcmp.
    constexpr qsizetype kBlock = 256;
    qsizetype i = 0;
    while (i < common) {
        const qsizetype n = std::min(kBlock, common - i);
        if (a == b || std::memcmp(a + i, b + i, std::size_t(n)) == 0) {
            i += n;
            continue;
        }
        while (a[i] == b[i])
            ++i;
        qsizetype end = i + 1;
        for (qsizetype gap = 0; end + gap < common && gap < kJoinGap;) {
            if (a[end + gap] != b[end + gap]) {
                end += gap + 1;
                gap = 0;
            } else {
                ++gap;
            }
        }
        if (!into.empty() && into.back().buffer == index && into.back().offset + into.back().before.size() == i) {
            into.back().before += was.mid(i, end - i);
            into.back().after += now.mid(i, end - i);
        } else {
            into.push_back({index, i, was.mid(i, end - i), now.mid(i, end - i)});
        }
        i = end;
    }
    if (was.size() != now.size())
        into.push_back({index, common, was.mid(common), now.mid(common)});
}

bool UndoHistory::record()
{
    Step step;
    for (int i = 0; i < int(buffers_.size()); ++i) {
        const std::size_t before = step.ranges.size();
        changesOf(i, step.ranges);
        if (step.ranges.size() != before) {
            step.touched |= 1u << i;
            atStep_[i] = *buffers_[i];
        }
    }
    if (step.ranges.empty())
        return false;
    steps_.resize(position_);
    for (auto& saved : saved_)
        if (saved && *saved > position_)
            saved.reset();
    steps_.push_back(std::move(step));
    ++position_;
    return true;
}

void UndoHistory::replay(const Step& step, bool forward)
{
    // Backwards in reverse order, so a range that changed a buffer's length is
    // undone before the ones in front of it.
    const auto put = [this, forward](const Range& r) {
        const QByteArray& from = forward ? r.before : r.after;
        const QByteArray& to = forward ? r.after : r.before;
        buffers_[r.buffer]->replace(r.offset, from.size(), to);
    };
    if (forward)
        std::for_each(step.ranges.begin(), step.ranges.end(), put);
    else
        std::for_each(step.ranges.rbegin(), step.ranges.rend(), put);
    for (int i = 0; i < int(buffers_.size()); ++i)
        if (step.touched & (1u << i))
            atStep_[i] = *buffers_[i];
}

bool UndoHistory::undo()
{
    // Changes not yet recorded would be undone with the step: record them first.
    record();
    if (!canUndo())
        return false;
    replay(steps_[--position_], false);
    return true;
}

bool UndoHistory::redo()
{
    if (record() || !canRedo())
        return false;
    replay(steps_[position_++], true);
    return true;
}

void UndoHistory::markSaved(int index)
{
    saved_[index] = position_;
}

bool UndoHistory::differsFromSaved(int index) const
{
    if (atStep_[index] != *buffers_[index])
        return true;
    if (!saved_[index])
        return true;
    const auto [from, to] = std::minmax(*saved_[index], position_);
    for (std::size_t s = from; s < to; ++s)
        if (steps_[s].touched & (1u << index))
            return true;
    return false;
}

std::size_t UndoHistory::memoryUse() const
{
    // Each range's two byte arrays also carry an allocation header.
    constexpr std::size_t kAllocationHeader = 32;
    std::size_t bytes = steps_.capacity() * sizeof(Step);
    for (const Step& s : steps_) {
        bytes += s.ranges.capacity() * sizeof(Range);
        for (const Range& r : s.ranges)
            bytes += std::size_t(r.before.capacity() + r.after.capacity()) + 2 * kAllocationHeader;
    }
    return bytes;
}

}  // namespace varkel
