#pragma once

#include "shared/document.h"
#include "shared/file_store.h"
#include "shared/runtime_error.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QStatusBar;
class QWidget;

namespace varkel {

// What an editor window shows about the document it edits, kept in one place:
// the title with the file name and Qt's modified mark (following the document's
// unsaved state, so undoing back to what was saved clears it), the status line
// that says what a save did, and the undo and redo commands.
class EditState : public QObject {
    Q_OBJECT
public:
    // `window`'s title becomes "file[*] - `title`"; the status line and the two
    // actions are made here for the window to place.
    EditState(QWidget& window, Document& document, QString title);

    QStatusBar* statusLine() const { return statusLine_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    // The document's Save, made by the window that saves it (its File > Save).
    void setSaveAction(QAction* save) { save_ = save; }
    // Undo, Redo and Save answer their keys in `window` too: another window that
    // shows the document (a table of its records, its problems, its backups).
    // The same commands, so they are enabled as they are here.
    void shareWith(QWidget& window) const;

    // The document's file was opened: the status line says so.
    void opened();
    // The files `written` by one save: the status line names each, and the backup
    // of each whose first backup this save made, and what the store has to say of
    // the backup index.
    void saved(const QStringList& written, FileStore& files);
    // A write of `path` failed: the status line gives the reason.
    void saveFailed(const QString& path, const RuntimeError& error);
    // What the status line says stays, and it adds that `what` (a setting kept
    // beside the file, such as the recent-files list) could not be written.
    void notKept(const QString& what, const RuntimeError& error);

    // Asked before undo or redo reads the views again; false keeps them.
    void setMayRestore(std::function<bool()> ask) { mayRestore_ = std::move(ask); }
    void undo();
    void redo();

private:
    void update();

    QWidget& window_;
    Document& document_;
    QString title_;
    QSet<QString> backupsShown_;
    QStatusBar* statusLine_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* save_ = nullptr;
    std::function<bool()> mayRestore_;
};

}  // namespace varkel
