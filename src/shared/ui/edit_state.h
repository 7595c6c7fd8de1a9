#pragma once

#include "shared/file_store.h"
#include "shared/runtime_error.h"
#include "shared/undo_history.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QStatusBar;
class QWidget;

namespace varkel {

// What an editor window shows about the files it edits, kept in one place: the
// unsaved state of each buffer (from the undo history, so undoing back to what
// was saved clears it), the title with the file name and Qt's modified mark, the
// status line that says what a save did, and the undo and redo commands.
class EditState : public QObject {
    Q_OBJECT
public:
    // `window`'s title becomes "file[*] - `title`"; the status line and the two
    // actions are made here for the window to place.
    EditState(QWidget& window, QString title);

    QStatusBar* statusLine() const { return statusLine_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }

    // A file was opened into `buffers` (the first names the window); the history
    // starts afresh. Buffers ticked in `unsaved` keep changes not yet saved.
    void opened(std::vector<QByteArray*> buffers, const QString& path, const std::vector<bool>& unsaved = {});
    // The open file is now `path` (after Save as).
    void renamed(const QString& path);
    // After an Apply, or any command that changed the buffers: it becomes one
    // step of the history.
    void applied();
    // Buffer `index` was written to `path`; the status line says so, and where
    // the original went when this write made its backup.
    void saved(int index, const QString& path, const FileStore& files) { saved({{index, path}}, files); }
    // The same for several buffers written by one save: the status line names each
    // file, and the backup of each whose first backup this save made.
    struct Written {
        int index;
        QString path;
    };
    void saved(const std::vector<Written>& written, const FileStore& files);
    // A write of `path` failed: the status line gives the reason; nothing is marked saved.
    void saveFailed(const QString& path, const RuntimeError& error);
    // What the status line says stays, and it adds that `what` (a setting kept
    // beside the file, such as the recent-files list) could not be written.
    void notKept(const QString& what, const RuntimeError& error);

    bool modified(int index) const;
    bool anyModified() const;
    const UndoHistory& history() const { return history_; }

    // Asked before undo or redo reads the views again; false keeps them.
    void setMayRestore(std::function<bool()> ask) { mayRestore_ = std::move(ask); }
    void undo();
    void redo();

signals:
    // The unsaved state or what can be undone changed: buttons follow.
    void changed();
    // Undo or redo put other bytes into the buffers: the views read them again.
    void restored();

private:
    void update();

    QWidget& window_;
    QString title_;
    QString path_;
    UndoHistory history_;
    std::size_t buffers_ = 0;
    QSet<QString> backupsShown_;
    QStatusBar* statusLine_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    std::function<bool()> mayRestore_;
};

}  // namespace varkel
