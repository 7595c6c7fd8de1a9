#pragma once

#include "neweditor/new_officer_layout.h"
#include "person/member_record.h"
#include "shared/file_buffer.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace varkel {

// The system save "Svd_sys.sav" being edited, read and written whole.
class SystemSave : public FileBuffer {
public:
    static QString defaultPath(const QString& gameFolder);
    static int officerNumber(int record) { return system_save::kFirstOfficerNumber + record; }

    // The whole file; WrongSize for fewer than 14,841 bytes or more than
    // kMaximumSize. A refused open leaves bytes and path as they were.
    Refusal open(FileStore& store, const QString& file, RuntimeError* error = nullptr);
    // The whole buffer over the current path. Save as is FileBuffer::saveAs.
    std::optional<RuntimeError> save(FileStore& store) const;

    // Record i (0..99).
    MemberRecord officer(int i) const;
    void setOfficer(int i, const MemberRecord& record);
    // The full name of record i, as the record list and the officer name table show it.
    QString officerName(int i) const;

    // Why `bytes` cannot be a system save, one line per rule they break; empty
    // when they can. Every new officer with a name has a face of the face bank.
    // Records without a name are no reason, nor is a file of nothing but empty
    // records: the game keeps one before any officer has been made.
    static QStringList shapeProblems(const QByteArray& bytes);
};

}  // namespace varkel
