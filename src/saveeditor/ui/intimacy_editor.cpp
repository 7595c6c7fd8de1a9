#include "saveeditor/ui/intimacy_editor.h"

#include "saveeditor/intimacy_kind.h"
#include "shared/name_field.h"
#include "shared/officer_search.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/text_list.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

namespace {

constexpr int kNameColumns = 8;
constexpr int kSearchLength = 4;

// A row of the intimacy list reads "name level": the name padded with ideographic
// spaces to four characters, one space, the level (whose texts hold no space).
QString RowText(const QString& name, const QString& level)
{
    return PadRight(name, kNameColumns) + QLatin1Char(' ') + level;
}

// The rows of the intimacy list in two columns, name and level, each as wide as its
// widest text in the list's font plus a character's gap, so that a four-character
// name never runs into its level whatever the font. A row's text stays
// "name level", as the search reads it.
class IntimacyRows : public QStyledItemDelegate {
public:
    explicit IntimacyRows(QListWidget* list) : QStyledItemDelegate(list)
    {
        const QFontMetrics metrics = list->fontMetrics();
        const int gap = metrics.horizontalAdvance(QChar(0x3000));
        nameWidth_ = metrics.horizontalAdvance(QString(kNameColumns / 2, QChar(0x570B))) + gap;  // 國
        for (const QString& level : IntimacyLevelItems())
            levelWidth_ = std::max(levelWidth_, metrics.horizontalAdvance(level));
        levelWidth_ += gap;
    }

    // The width a row needs: check box, margins and both columns.
    int rowWidth(const QWidget* list) const
    {
        const QStyle* style = list->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, list) + 4 * margin + nameWidth_ + levelWidth_;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        // The row's text split back into its columns.
        const qsizetype split = opt.text.lastIndexOf(QLatin1Char(' '));
        const QString level = opt.text.mid(split + 1);
        qsizetype nameEnd = std::max<qsizetype>(split, 0);
        while (nameEnd > 0 && opt.text.at(nameEnd - 1) == QChar(0x3000))
            --nameEnd;
        opt.text.truncate(nameEnd);
        const QWidget* widget = opt.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        // The style draws the row with the name alone, kept to the name column.
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const int levelLeft = text.left() + margin + nameWidth_;
        opt.text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, nameWidth_ - margin);
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                    : QPalette::Text));
        painter->drawText(QRect(levelLeft, text.top(), std::max(0, text.right() - levelLeft), text.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, level);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (const auto* list = qobject_cast<const QWidget*>(parent()))
            size.setWidth(std::max(size.width(), rowWidth(list)));
        return size;
    }

private:
    int nameWidth_ = 0;
    int levelWidth_ = 0;
};

}  // namespace

IntimacyEditor::IntimacyEditor(Session& session, SaveDocument& document, int slot, QWidget* parent)
    : QDialog(parent),
      session_(session),
      document_(document),
      save_(document.bytes()),
      tables_(document.tables()),
      slot_(slot)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(GetResText(Text::IntimacyEditorTitle));
    setModal(true);

    QHBoxLayout* modes = buildModes();
    QVBoxLayout* listColumn = buildListColumn();
    QVBoxLayout* side = buildSide();
    auto* body = new QHBoxLayout;
    body->addLayout(listColumn, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addLayout(body, 1);

    TabOrder order;
    order << Option1 << Option2 << List1 << Combo1 << Command1 << Command3 << Command4 << Text1 << Command2;
    order.apply();

    Option1->setChecked(true);
    fillList(false);
    // Undo, redo or a batch changed the save under the list.
    connect(&document_, &Document::changed, this, [this](const DocumentChange& change) {
        if (change.cause != DocumentChange::Cause::Apply)
            readAgain();
    });
}

QHBoxLayout* IntimacyEditor::buildModes()
{
    Option1 = named(new QRadioButton(QStringLiteral("一般武將"), this), QStringLiteral("Option1"));
    Option2 = named(new QRadioButton(QStringLiteral("特殊人物"), this), QStringLiteral("Option2"));
    connect(Option1, &QRadioButton::clicked, this, [this] { fillList(false); });
    connect(Option2, &QRadioButton::clicked, this, [this] { fillList(true); });
    auto* modes = new QHBoxLayout;
    modes->addWidget(Option1);
    modes->addWidget(Option2);
    return modes;
}

QVBoxLayout* IntimacyEditor::buildListColumn()
{
    List1 = TextList(this, QStringLiteral("List1"));
    auto* rows = new IntimacyRows(List1);
    List1->setItemDelegate(rows);
    List1->setMinimumSize(
        rows->rowWidth(List1) + List1->verticalScrollBar()->sizeHint().width() + 2 * List1->frameWidth(), 360);
    connect(List1, &QListWidget::currentRowChanged, this, &IntimacyEditor::showLevel);
    connect(List1, &QListWidget::itemChanged, this, &IntimacyEditor::showCount);
    Label2 = named(new QLabel(this), QStringLiteral("Label2"));
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(List1, 1);
    listColumn->addWidget(Label2);
    return listColumn;
}

QVBoxLayout* IntimacyEditor::buildSide()
{
    auto* level = named(new QGroupBox(QStringLiteral("親密度"), this), QStringLiteral("Frame1"));
    auto* levelRow = new QHBoxLayout(level);
    Combo1 = named(new QComboBox(level), QStringLiteral("Combo1"));
    FillList(Combo1, IntimacyLevelItems());
    levelRow->addWidget(Combo1);

    Command1 = named(new QPushButton(QStringLiteral("應用"), this), QStringLiteral("Command1"));
    Command3 = named(new QPushButton(QStringLiteral("全部選擇"), this), QStringLiteral("Command3"));
    Command4 = named(new QPushButton(QStringLiteral("取消選擇"), this), QStringLiteral("Command4"));
    Command2 = named(new QPushButton(QStringLiteral("退出"), this), QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &IntimacyEditor::applyLevelToTicked);
    connect(Command3, &QPushButton::clicked, this, &IntimacyEditor::tickAll);
    connect(Command4, &QPushButton::clicked, this, &IntimacyEditor::untickAll);
    connect(Command2, &QPushButton::clicked, this, &QDialog::accept);
    Label1 = named(new QLabel(QStringLiteral("武將姓名查找"), this), QStringLiteral("Label1"));
    Text1 = named(new QLineEdit(this), QStringLiteral("Text1"));
    UseNameFilter(Text1, kSearchLength);
    connect(Text1, &QLineEdit::returnPressed, this, &IntimacyEditor::Text1_Enter);
    // Enter applies the level; in the search box it searches.
    TakeSearchKeys(Text1);
    Command1->setDefault(true);
    UseApplyKeys(*this, Command1);

    auto* side = new QVBoxLayout;
    side->addWidget(level);
    side->addWidget(Command1);
    side->addWidget(Command3);
    side->addWidget(Command4);
    side->addStretch();
    side->addWidget(Label1);
    side->addWidget(Text1);
    side->addWidget(Command2);
    return side;
}

QString IntimacyEditor::rowText(int position) const
{
    const auto officer = special_ ? SpecialPositionOfficer(position) : GeneralPositionOfficer(save_, position);
    const auto level = IntimacyStream(slot_, special_).read(save_, position);
    return RowText(officer ? tables_.officerNames.value(*officer) : QString(),
                   level ? IntimacyLevelItems().value(*level) : QString());
}

void IntimacyEditor::fillList(bool special)
{
    special_ = special;
    const int rows = special ? intimacy::kSpecialPositions : GeneralListRows(tables_.officerCount);
    {
        const QSignalBlocker block(List1);
        List1->clear();
        for (int k = 0; k < rows; ++k) {
            auto* item = new QListWidgetItem(rowText(k), List1);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    List1->setCurrentRow(0);
    showLevel(0);
    showCount();
}

void IntimacyEditor::readAgain()
{
    std::vector<Qt::CheckState> ticks;
    for (int k = 0; k < List1->count(); ++k)
        ticks.push_back(List1->item(k)->checkState());
    const int selected = List1->currentRow();
    fillList(special_);
    {
        const QSignalBlocker block(List1);
        for (int k = 0; k < List1->count() && k < int(ticks.size()); ++k)
            List1->item(k)->setCheckState(ticks[std::size_t(k)]);
    }
    showCount();
    List1->setCurrentRow(selected);
}

void IntimacyEditor::showLevel(int row)
{
    if (const auto level = IntimacyStream(slot_, special_).read(save_, row))
        Combo1->setCurrentIndex(*level);
}

int IntimacyEditor::tickedCount() const
{
    int ticked = 0;
    for (int k = 0; k < List1->count(); ++k)
        ticked += List1->item(k)->checkState() == Qt::Checked ? 1 : 0;
    return ticked;
}

void IntimacyEditor::showCount()
{
    const int ticked = tickedCount();
    Label2->setText(GetResText(Text::SelectedCount) + QStringLiteral(": ") + QString::number(ticked) +
                    GetResText(Text::SelectedOfficers));
    Command1->setEnabled(ticked > 0);
}

void IntimacyEditor::applyLevelToTicked()
{
    std::vector<int> positions;
    for (int k = 0; k < List1->count(); ++k)
        if (List1->item(k)->checkState() == Qt::Checked)
            positions.push_back(k);
    const int selected = List1->currentRow();
    const int level = Combo1->currentIndex();
    const QString name = QStringLiteral("修改 親密度: 玩家欄 %1 對 %2 人").arg(slot_).arg(positions.size());
    // Through the kind's checked write, as the command line and the batch editor
    // store levels; a position it refuses leaves every level as it was.
    IntimacyKind kind(slot_, special_);
    FieldValue value;
    value.number = level;
    RecordChanges changes;
    changes.values[*kind.fieldIndex(QStringLiteral("level"))] = value;
    if (positions.empty() ||
        !document_.apply(SaveRecord::Intimacy, {slot_}, name, [&](QByteArray& save, ScenarioData&) {
            kind.load(save);
            return std::none_of(positions.begin(), positions.end(),
                                [&](int k) { return StoreChanges(kind, k, changes).has_value(); });
        }))
        return;
    fillList(special_);
    List1->setCurrentRow(selected);
    emit applied();
}

void IntimacyEditor::tickAll()
{
    const int selected = List1->currentRow();
    {
        const QSignalBlocker block(List1);
        for (int k = 0; k < List1->count(); ++k)
            List1->item(k)->setCheckState(Qt::Checked);
    }
    showCount();
    List1->setCurrentRow(selected);
}

void IntimacyEditor::untickAll()
{
    {
        const QSignalBlocker block(List1);
        for (int k = 0; k < List1->count(); ++k)
            List1->item(k)->setCheckState(Qt::Unchecked);
    }
    showCount();
    List1->setCurrentRow(0);
}

void IntimacyEditor::Text1_Enter()
{
    if (Text1->text().isEmpty())
        return;
    QStringList rows;
    for (int k = 0; k < List1->count(); ++k)
        rows << List1->item(k)->text();
    const int found = FindRowStartingWith(rows, List1->currentRow(), Text1->text());
    if (found < 0)
        session_.prompter->tell(GetResText(Text::OfficerNotFound), kEditorTitle, MessageIcon::Information);
    else
        List1->setCurrentRow(found);
}

}  // namespace varkel
