#pragma once

#include "shared/undo_history.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace varkel {

// What a change of a document touched: records of one kind, or everything. Undo
// and redo name what the step they take back or make again touched.
struct DocumentChange {
    enum class Cause {
        Apply,  // an edit of the records named, from the view that shows them
        Batch,  // an edit of the records named, made without their view (the records table)
        Open,   // another file in place of the open one
        Undo,
        Redo,
    };
    static constexpr int kEverything = -1;

    Cause cause = Cause::Apply;
    int kind = kEverything;    // the document's record kind, or kEverything
    std::vector<int> records;  // the records of `kind` that changed

    bool everything() const { return kind == kEverything; }
    bool touches(int recordKind, int record) const;
};

// One open file (with the files that belong to it) as the editor holds it: its
// byte buffers, what the undo history remembers of them, and whether each is
// saved. The buffers change only through an edit applied here (one step of the
// history) or through undo and redo, and every change is announced, so that all
// views of the document show the same bytes.
class Document : public QObject {
    Q_OBJECT
public:
    // The file that names the document.
    virtual QString path() const = 0;

    // Whether buffer `index` differs from what was last saved (or opened).
    bool modified(int index) const;
    bool anyModified() const;

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    // What the step undo / redo would take back / make again is called ("修改 武將
    // 葉德: 忠誠"); empty when there is none.
    QString undoName() const;
    QString redoName() const;
    // Puts the buffers back as they were before the last step / after the next
    // one; false when there is none.
    bool undo();
    bool redo();
    // Counts the changes of the bytes: a copy taken at one revision is what the
    // document holds as long as the revision is the same.
    quint64 revision() const { return revision_; }

signals:
    // The bytes changed: views read what `change` names again.
    void changed(const varkel::DocumentChange& change);
    // The unsaved state, the path or what can be undone changed.
    void stateChanged();

protected:
    explicit Document(QObject* parent = nullptr);

    // Starts afresh over `buffers` (members of the subclass, kept by pointer), as
    // opened and saved; those ticked in `unsaved` hold changes not yet saved.
    void startHistory(std::vector<QByteArray*> buffers, const std::vector<bool>& unsaved = {});
    // Runs `edit` over the buffers. When it refuses (false) every buffer is put
    // back as it was and nothing is recorded; otherwise what it changed becomes one
    // step called `name` and is announced as `change`. False when refused.
    bool applyEdit(DocumentChange change, QString name, const std::function<bool()>& edit);
    // After a successful write of buffer `index`.
    void markSaved(int index);
    // After another file was opened into the buffers: announced as everything.
    void announceOpened();
    // The buffers ticked in `changed` hold other bytes: what is worked out from
    // them is worked out again, before the change is announced.
    virtual void rebuild(const std::vector<bool>& changed) { Q_UNUSED(changed); }

private:
    // What a step of the history touched and is called, in the history's order.
    struct Step {
        DocumentChange change;
        QString name;
    };

    void restored(DocumentChange change, DocumentChange::Cause cause);

    std::vector<QByteArray*> buffers_;
    UndoHistory history_;
    std::vector<Step> steps_;
    std::size_t position_ = 0;  // steps_[position_ - 1] is the one undo takes back
    quint64 revision_ = 0;
};

}  // namespace varkel
