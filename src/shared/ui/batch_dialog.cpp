#include "shared/ui/batch_dialog.h"

#include "shared/ui/batch_outcomes.h"
#include "shared/ui/keyboard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace varkel {

namespace {

// How a row changes its field, in the order of the change box; only the first
// is offered for a field that is no number.
struct ChangeKind {
    const char* caption;
    const char* prefix;  // before the value as typed
    const char* suffix;  // after it
    bool takesValue;
};
constexpr ChangeKind kChanges[] = {
    {"設為", "", "", true},       {"增加", "+", "", true},      {"減少", "-", "", true},    {"乘以 %", "*", "%", true},
    {"最小值", "min", "", false}, {"最大值", "max", "", false}, {"上限", "cap", "", false},
};

QString countText(int n)
{
    return QStringLiteral("%1 筆").arg(n);
}

}  // namespace

BatchDialog::BatchDialog(RecordSource& source, std::vector<int> selected, std::vector<int> shown, QWidget* parent)
    : QDialog(parent), source_(source), selected_(std::move(selected)), shown_(std::move(shown))
{
    setObjectName(QStringLiteral("BatchDialog"));
    setWindowTitle(QStringLiteral("批量修改"));
    const RecordKind& kind = source.kind();
    for (std::size_t i = 0; i < kind.fields().size(); ++i)
        if (!kind.fields()[i]->readOnly)
            fields_.push_back(i);

    auto* which = new QGroupBox(QStringLiteral("修改哪些記錄"), this);
    selectedOption =
        new QRadioButton(QStringLiteral("選中的記錄(&S)，%1").arg(countText(int(selected_.size()))), which);
    selectedOption->setObjectName(QStringLiteral("selectedOption"));
    shownOption = new QRadioButton(QStringLiteral("全部顯示的記錄(&L)，%1").arg(countText(int(shown_.size()))), which);
    shownOption->setObjectName(QStringLiteral("shownOption"));
    selectedOption->setEnabled(!selected_.empty());
    (selected_.empty() ? shownOption : selectedOption)->setChecked(true);
    auto* whichLayout = new QVBoxLayout(which);
    whichLayout->addWidget(selectedOption);
    whichLayout->addWidget(shownOption);

    auto* changes = new QGroupBox(QStringLiteral("修改"), this);
    grid_ = new QGridLayout;
    grid_->addWidget(new QLabel(QStringLiteral("欄位"), changes), 0, 0);
    grid_->addWidget(new QLabel(QStringLiteral("方式"), changes), 0, 1);
    grid_->addWidget(new QLabel(QStringLiteral("值"), changes), 0, 2);
    grid_->setColumnStretch(2, 1);
    addButton = new QPushButton(QStringLiteral("添加一項(&A)"), changes);
    addButton->setObjectName(QStringLiteral("addButton"));
    addButton->setAutoDefault(false);
    auto* changesLayout = new QVBoxLayout(changes);
    changesLayout->addLayout(grid_);
    auto* addRowLayout = new QHBoxLayout;
    addRowLayout->addWidget(addButton);
    addRowLayout->addStretch(1);
    changesLayout->addLayout(addRowLayout);

    outcomes_ = new BatchOutcomes(this);
    summary = outcomes_->summary;
    refusals = outcomes_->refusals;
    applyButton = outcomes_->applyButton;
    cancelButton = outcomes_->cancelButton;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(which);
    layout->addWidget(changes);
    layout->addWidget(outcomes_, 1);

    connect(selectedOption, &QRadioButton::toggled, this, &BatchDialog::preview);
    connect(addButton, &QPushButton::clicked, this, [this] {
        Row& row = addRow();
        row.field->setFocus();
    });
    connect(applyButton, &QPushButton::clicked, this, &BatchDialog::apply);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    addRow().field->setFocus();
    resize(640, 480);
}

BatchDialog::Row& BatchDialog::addRow()
{
    QWidget* box = grid_->parentWidget();
    const int line = int(rows_.size()) + 1;
    Row row{new QComboBox(box), new QComboBox(box), new QComboBox(box), new QPushButton(QStringLiteral("移除"), box)};
    const QString n = QString::number(rows_.size());
    row.field->setObjectName(QStringLiteral("field%1").arg(n));
    row.change->setObjectName(QStringLiteral("change%1").arg(n));
    row.value->setObjectName(QStringLiteral("value%1").arg(n));
    row.remove->setObjectName(QStringLiteral("remove%1").arg(n));
    row.remove->setAutoDefault(false);
    const auto& fields = source_.kind().fields();
    for (const std::size_t i : fields_)
        row.field->addItem(fields[i]->label);
    for (const ChangeKind& c : kChanges)
        row.change->addItem(QString::fromUtf8(c.caption));
    row.value->setEditable(true);
    row.value->setInsertPolicy(QComboBox::NoInsert);
    row.value->setMinimumContentsLength(12);
    grid_->addWidget(row.field, line, 0);
    grid_->addWidget(row.change, line, 1);
    grid_->addWidget(row.value, line, 2);
    grid_->addWidget(row.remove, line, 3);
    rows_.push_back(row);

    QComboBox* field = row.field;
    connect(row.field, &QComboBox::currentIndexChanged, this, [this, field] {
        for (Row& r : rows_)
            if (r.field == field)
                fieldChosen(r);
    });
    connect(row.change, &QComboBox::currentIndexChanged, this, [this, field] {
        for (Row& r : rows_)
            if (r.field == field)
                r.value->setEnabled(kChanges[r.change->currentIndex()].takesValue);
        preview();
    });
    connect(row.value, &QComboBox::currentTextChanged, this, &BatchDialog::preview);
    connect(row.remove, &QPushButton::clicked, this, [this, remove = row.remove] { removeRow(remove); });
    fieldChosen(rows_.back());

    TabOrder order;
    order << selectedOption << shownOption;
    for (const Row& r : rows_)
        order << r.field << r.change << r.value << r.remove;
    order << addButton << refusals << applyButton << cancelButton;
    order.apply();
    return rows_.back();
}

void BatchDialog::removeRow(QPushButton* remove)
{
    const auto at = std::find_if(rows_.begin(), rows_.end(), [remove](const Row& r) { return r.remove == remove; });
    if (at == rows_.end())
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{at->field, at->change, at->value, at->remove}) {
        grid_->removeWidget(w);
        w->deleteLater();
    }
    rows_.erase(at);
    // The rows below move up, so the grid has no gaps.
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const int line = int(k) + 1;
        grid_->addWidget(rows_[k].field, line, 0);
        grid_->addWidget(rows_[k].change, line, 1);
        grid_->addWidget(rows_[k].value, line, 2);
        grid_->addWidget(rows_[k].remove, line, 3);
    }
    if (!rows_.empty())
        rows_.front().field->setFocus();
    else
        addButton->setFocus();
    preview();
}

void BatchDialog::fieldChosen(Row& row)
{
    const int chosen = row.field->currentIndex();
    if (chosen < 0)
        return;
    const FieldSpec& field = *source_.kind().fields()[fields_[std::size_t(chosen)]];
    const bool number = field.kind == FieldKind::Number;
    // Sums, shares, the lowest, the highest and the cap are for numbers only.
    for (int c = 1; c < row.change->count(); ++c)
        row.change->setItemData(c, number ? QVariant() : QVariant(0), Qt::UserRole - 1);
    if (!number)
        row.change->setCurrentIndex(0);
    const QSignalBlocker quiet(row.value);
    row.value->clear();
    if (field.kind == FieldKind::Choice || field.kind == FieldKind::Skills)
        row.value->addItems(field.items);
    else if (field.kind == FieldKind::Flag)
        row.value->addItems({QStringLiteral("是"), QStringLiteral("否")});
    row.value->setCurrentIndex(-1);
    row.value->setEditText(QString());
    preview();
}

QStringList BatchDialog::typed() const
{
    QStringList typed;
    const auto& fields = source_.kind().fields();
    for (const Row& row : rows_) {
        if (row.field->currentIndex() < 0)
            continue;
        const ChangeKind& c = kChanges[row.change->currentIndex()];
        const QString value = c.takesValue ? row.value->currentText().trimmed() : QString();
        typed << fields[fields_[std::size_t(row.field->currentIndex())]]->key + QLatin1Char('=') +
                     QString::fromUtf8(c.prefix) + value + QString::fromUtf8(c.suffix);
    }
    return typed;
}

const std::vector<int>& BatchDialog::records() const
{
    return selectedOption->isChecked() ? selected_ : shown_;
}

void BatchDialog::preview()
{
    if (applied_)
        return;
    FilterError error;
    std::optional<std::vector<Assignment>> assignments;
    const bool valueMissing = std::any_of(rows_.begin(), rows_.end(), [](const Row& row) {
        return kChanges[row.change->currentIndex()].takesValue && row.value->currentText().trimmed().isEmpty();
    });
    if (valueMissing)
        error.message = QStringLiteral("請輸入要設的值。");
    else
        assignments = ParseAssignments(source_.kind(), typed(), &error);
    if (!assignments || rows_.empty()) {
        assignments_.clear();
        result_ = {};
        outcomes_->showProblem(rows_.empty() ? QStringLiteral("請添加要修改的欄位。") : error.message);
        applyButton->setEnabled(false);
        return;
    }
    assignments_ = std::move(*assignments);
    result_ = source_.preview(Assigning(records(), assignments_));
    outcomes_->showPreview(result_);
    applyButton->setEnabled(result_.count(BatchOutcome::Result::Changed) > 0);
}

void BatchDialog::apply()
{
    if (applied_ || assignments_.empty())
        return;
    result_ = source_.apply(records(), Assigning(records(), assignments_));
    applied_ = true;
    if (result_.count(BatchOutcome::Result::Refused) == 0) {
        accept();
        return;
    }
    // The records refused stay listed, with why, until the user closes the dialog.
    outcomes_->showApplied(result_);
    for (Row& row : rows_)
        for (QWidget* w : std::initializer_list<QWidget*>{row.field, row.change, row.value, row.remove})
            w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{addButton, selectedOption, shownOption})
        w->setEnabled(false);
}

}  // namespace varkel
