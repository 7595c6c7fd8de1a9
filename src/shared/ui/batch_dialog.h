#pragma once

#include "shared/record_batch.h"
#include "shared/record_source.h"

#include <QDialog>

#include <vector>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace varkel {

class BatchOutcomes;

// Changes many records at once: one or more assignments (a field and a value, or
// for numbers a sum, a share, the lowest, the highest or the record's cap), a
// preview of what they do to the records picked (how many change, which are
// refused and why), then one Apply that makes them as one undo step and lists the
// records refused.
class BatchDialog : public QDialog {
    Q_OBJECT
public:
    // `selected` and `shown` are places of records of the source's kind; with none
    // selected the dialog works on those shown.
    BatchDialog(RecordSource& source, std::vector<int> selected, std::vector<int> shown, QWidget* parent);

    // One row of the assignments: its field, how it changes and the value.
    struct Row {
        QComboBox* field;
        QComboBox* change;
        QComboBox* value;
        QPushButton* remove;
    };
    std::vector<Row>& rows() { return rows_; }
    Row& addRow();
    // The assignments as the command line types them ("loyalty=+10"), one per row.
    QStringList typed() const;
    // The records the assignments go to.
    const std::vector<int>& records() const;
    // The last preview, or the result of Apply once it was made.
    const BatchResult& result() const { return result_; }
    bool applied() const { return applied_; }

    QRadioButton* selectedOption = nullptr;
    QRadioButton* shownOption = nullptr;
    QPushButton* addButton = nullptr;
    QLabel* summary = nullptr;
    QTreeWidget* refusals = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* cancelButton = nullptr;

    void apply();

private:
    void removeRow(QPushButton* remove);
    void fieldChosen(Row& row);
    void preview();

    RecordSource& source_;
    std::vector<int> selected_;
    std::vector<int> shown_;
    std::vector<std::size_t> fields_;  // the fields a batch can change, as the field boxes list them
    std::vector<Row> rows_;
    QGridLayout* grid_ = nullptr;
    BatchOutcomes* outcomes_ = nullptr;
    std::vector<Assignment> assignments_;
    BatchResult result_;
    bool applied_ = false;
};

}  // namespace varkel
