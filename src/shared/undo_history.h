#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace varkel {

// The Applies made to the buffers of one open file (a saved game and the
// scenario file its treasures share, a system save and its biographies), so they
// can be taken back and made again. Each step keeps only the byte ranges the
// Apply changed, before and after, not copies of the buffers.
//
// The history compares the buffers with their state at the last step, so any
// code may change them; record() turns what changed into a step.
class UndoHistory {
public:
    // Starts afresh over `buffers` (kept by pointer: they must outlive the
    // history), their bytes now being the files as opened and saved; those
    // ticked in `unsaved` hold changes not yet saved.
    void reset(std::vector<QByteArray*> buffers, const std::vector<bool>& unsaved = {});

    // After an Apply: what changed since the last step becomes a new step (and
    // steps undone before it can no longer be redone). False when nothing changed.
    bool record();

    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    // Puts the buffers back as they were before the last step / after the next
    // one. False when there is none.
    bool undo();
    bool redo();

    // Buffer `index` now holds what is on disk.
    void markSaved(int index);
    // Whether buffer `index` differs from what was last saved (or opened).
    bool differsFromSaved(int index) const;

    // Bytes the steps hold, ranges and their bookkeeping.
    std::size_t memoryUse() const;

private:
    // Buffer bytes [offset, offset + before.size()) were `before` and became `after`;
    // only a range at a buffer's end may change its length.
    struct Range {
        int buffer = 0;
        qsizetype offset = 0;
        QByteArray before;
        QByteArray after;
    };
    struct Step {
        std::vector<Range> ranges;
        std::uint32_t touched = 0;  // one bit per buffer
    };

    void changesOf(int index, std::vector<Range>& into) const;
    void replay(const Step& step, bool forward);

    std::vector<QByteArray*> buffers_;
    std::vector<QByteArray> atStep_;  // each buffer as of the current position (shared, not copied)
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::vector<std::optional<std::size_t>> saved_;  // position each buffer was saved at, if still reachable
};

}  // namespace varkel
