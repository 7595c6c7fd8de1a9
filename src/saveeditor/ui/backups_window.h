#pragma once

#include "saveeditor/save_document.h"
#include "shared/backup_index.h"
#include "shared/session.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace varkel {

// Asked before bytes that do not look like a save are put back, so tests can tell it.
extern const char* const kUnlikeBackupQuestion;

// The backups the program made of the open save before writing over it, newest
// first, then those of unknown origin that were made of a file of its name. A
// backup can be compared with the save, or put back into it as one undo step
// (written to the file only when the user saves). The list follows the document:
// a save makes a new backup, another file has backups of its own.
class BackupsWindow : public QDialog {
    Q_OBJECT
public:
    // The columns of the list.
    enum Column { kTimeColumn, kSizeColumn, kNoteColumn };

    // `compare` opens the comparison of the save with the backup at the path it is given.
    BackupsWindow(Session& session, SaveDocument& document, std::function<void(const QString& backupPath)> compare,
                  QWidget* parent);

    // A backup as the list shows it.
    struct Row {
        BackupEntry entry;
        QString path;
        bool originKnown = true;  // listed for this file, not only named like it
        bool asOnDisk = false;    // holds what the file on disk holds now
    };
    const std::vector<Row>& rows() const { return rows_; }
    // Reads the backup folder again and lists the document's backups.
    void refresh();
    // Compares the selected backup with the save.
    void compareSelected();
    // Asks, then puts the selected backup's bytes into the save; false when nothing changed.
    bool restoreSelected();

    QSize sizeHint() const override { return {600, 400}; }

    QTreeWidget* backups = nullptr;
    QLabel* summary = nullptr;
    QPushButton* compareButton = nullptr;
    QPushButton* restoreButton = nullptr;
    QPushButton* closeButton = nullptr;
    QStatusBar* statusLine = nullptr;

private:
    const Row* selectedRow() const;
    void updateButtons();
    void stateChanged();
    // Why the backup could not be read, in the window's words.
    static QString refusalText(const BackupRead& read, const QString& backupPath);

    Session& session_;
    SaveDocument& document_;
    std::function<void(const QString&)> compare_;
    BackupIndex index_;
    std::vector<Row> rows_;
    QString listedPath_;  // the file whose backups are listed
};

}  // namespace varkel
