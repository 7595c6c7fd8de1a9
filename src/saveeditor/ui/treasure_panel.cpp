#include "saveeditor/ui/treasure_panel.h"

#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"
#include "shared/runtime_error.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/text_list.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace varkel {

using namespace treasure;

namespace {

constexpr int kNameColumns = 12;  // half-width columns a name takes in the list
constexpr int kAbilityItems = 5;

}  // namespace

TreasurePanel::TreasurePanel(Session& session, QWidget* parent) : QFrame(parent), session_(session)
{
    setObjectName(QStringLiteral("Frame10(1)"));
    List2 = TextList(this, QStringLiteral("List2"));
    List2->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:國國國國國國國國國國")));

    // The attributes scroll in a small window; the list and the buttons stay in sight.
    auto* attributes = new QWidget(this);
    auto* right = new QVBoxLayout(attributes);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(buildAttributes());
    right->addWidget(buildPicture());
    Frame14 = named(new QGroupBox(QStringLiteral("寶物說明"), this), QStringLiteral("Frame14"));
    auto* note = new QVBoxLayout(Frame14);
    Text6 = named(new QPlainTextEdit(Frame14), QStringLiteral("Text6"));
    Text6->setReadOnly(true);
    Text6->setFixedHeight(fontMetrics().lineSpacing() * 4 + 12);
    note->addWidget(Text6);
    right->addWidget(Frame14);
    right->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(List2, 1);
    body->addWidget(new ScrollPane(attributes, this));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(body, 1);
    layout->addWidget(buildFooter());
}

std::vector<QWidget*> TreasurePanel::tabOrder() const
{
    // The attributes row by row: name and kind, price and skill, points and raised
    // ability, then the owner.
    TabOrder order;
    order << List2 << Text4[0] << Combo2[1] << Text4[1] << Combo2[2] << Text4[2] << Combo2[0] << Text4[3] << Command2
          << Text7 << Command4 << Command3 << Command6 << Command5 << Text6 << Command13 << Command7;
    return order.widgets();
}

QWidget* TreasurePanel::buildAttributes()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    Label17 = named(new QLabel(box), QStringLiteral("Label17"));
    QFont big = Label17->font();
    big.setPointSize(big.pointSize() + 4);
    Label17->setFont(big);
    grid->addWidget(Label17, 0, 0, 1, 4);

    const std::array<const char*, 4> labels = {"名稱", "價格", "點數", "所屬"};
    const std::array<int, 3> lengths = {kNameCapacity, 4, 3};
    const QFontMetrics m(font());
    for (int k = 0; k < 4; ++k) {
        Text4[k] = named(new QLineEdit(box), indexed("Text4", k));
        grid->addWidget(new QLabel(QString::fromUtf8(labels[k]), box), 1 + k, 0, Qt::AlignRight);
    }
    UseNameFilter(Text4[0], lengths[0]);
    UseDigitFilter(Text4[1], lengths[1]);
    UseDigitFilter(Text4[2], lengths[2]);
    Text4[3]->setReadOnly(true);
    const int nameWidth = m.horizontalAdvance(QChar(0x570B)) * kNameCapacity + 14;
    for (QLineEdit* text : Text4)
        text->setFixedWidth(nameWidth);
    for (int k = 0; k < 3; ++k)
        grid->addWidget(Text4[k], 1 + k, 1);
    auto* owner = new QHBoxLayout;
    owner->addWidget(Text4[3]);
    Command2 = named(new QPushButton(QStringLiteral("選擇"), box), QStringLiteral("Command2"));
    connect(Command2, &QPushButton::clicked, this, &TreasurePanel::chooseOwnerRequested);
    owner->addWidget(Command2);
    grid->addLayout(owner, 4, 1, 1, 3, Qt::AlignLeft);

    // Raised ability, kind and skill, beside the boxes.
    const std::array<const char*, 3> lists = {"提升", "種類", "特技"};
    const std::array<QStringList, 3> items = {RaisedAbilityItems(), TreasureKindItems(), TreasureSkillItems()};
    const std::array<int, 3> rows = {3, 1, 2};
    for (int k = 0; k < 3; ++k) {
        Combo2[k] = named(new QComboBox(box), indexed("Combo2", k));
        FillList(Combo2[k], items[k]);
        grid->addWidget(new QLabel(QString::fromUtf8(lists[k]), box), rows[k], 2, Qt::AlignRight);
        grid->addWidget(Combo2[k], rows[k], 3);
    }
    // The raised ability follows the kind.
    Combo2[0]->setEnabled(false);
    connect(Combo2[1], &QComboBox::currentIndexChanged, this, [this] { treasureKindChosen(); });
    return box;
}

QWidget* TreasurePanel::buildPicture()
{
    Frame12 = named(new QGroupBox(QStringLiteral("寶物圖片"), this), QStringLiteral("Frame12"));
    auto* row = new QHBoxLayout(Frame12);
    Picture2 = named(new QLabel(Frame12), QStringLiteral("Picture2"));
    Picture2->setFixedSize(kTreasurePictureSide + 2, kTreasurePictureSide + 2);
    Picture2->setFrameShape(QFrame::Box);
    Picture2->setAlignment(Qt::AlignCenter);
    row->addWidget(Picture2);

    auto* steps = new QGridLayout;
    steps->addWidget(new QLabel(QStringLiteral("圖片編號"), Frame12), 0, 0, 1, 2);
    Text7 = named(new QLineEdit(Frame12), QStringLiteral("Text7"));
    UseDigitFilter(Text7, 2);
    Text7->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
    steps->addWidget(Text7, 1, 0, 1, 2, Qt::AlignLeft);
    Command4 = named(new QPushButton(QStringLiteral("<"), Frame12), QStringLiteral("Command4"));
    Command3 = named(new QPushButton(QStringLiteral(">"), Frame12), QStringLiteral("Command3"));
    Command6 = named(new QPushButton(QStringLiteral("< <"), Frame12), QStringLiteral("Command6"));
    Command5 = named(new QPushButton(QStringLiteral("> >"), Frame12), QStringLiteral("Command5"));
    const std::array<std::pair<QPushButton*, int>, 4> stepping = {
        {{Command3, 1}, {Command4, -1}, {Command5, 10}, {Command6, -10}}};
    for (const auto& [button, by] : stepping) {
        button->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("< <")) + 20);
        connect(button, &QPushButton::clicked, this, [this, by = by] { stepPicture(by); });
    }
    steps->addWidget(Command4, 2, 0);
    steps->addWidget(Command3, 2, 1);
    steps->addWidget(Command6, 3, 0);
    steps->addWidget(Command5, 3, 1);
    steps->setRowStretch(4, 1);
    row->addLayout(steps);
    row->addStretch();
    connect(Text7, &QLineEdit::returnPressed, this, &TreasurePanel::Text7_Enter);
    // Enter shows the picture numbered; it applies nothing.
    KeepEnter(Text7);
    return Frame12;
}

QWidget* TreasurePanel::buildFooter()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    Label31 = named(new QLabel(box), QStringLiteral("Label31"));
    Label31->setText(
        QStringLiteral("說明：右下角按鈕只保存對寶物擁有者的修改，如果要保存對寶物各項屬性（除“所屬”外）做出的修改，"
                       "請按下右邊的按鈕。在重新開始游戲后，所做的修改將對所有存檔起效。"));
    Label31->setWordWrap(true);
    Command13 = named(new QPushButton(QStringLiteral("保存寶物修改"), box), QStringLiteral("Command13"));
    Command13->setEnabled(false);
    Command13->setMinimumWidth(Command13->fontMetrics().horizontalAdvance(Command13->text()) + 24);
    Command7 = named(new QPushButton(QStringLiteral("應用"), box), QStringLiteral("Command7(1)"));
    grid->addWidget(Label31, 0, 0);
    grid->addWidget(Command13, 0, 1, Qt::AlignVCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command7);
    commandRow_ = buttons;
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    return box;
}

QString TreasurePanel::ownerName(int owner) const
{
    return owner >= 0 && owner < session_.officerNames.size() ? session_.officerNames[owner] : QString::number(owner);
}

QString TreasurePanel::rowText(int i, const QString& name, const QString& owner) const
{
    return NumberedItem(i, 3, PadRight(name, kNameColumns) + QLatin1Char('\t') + owner);
}

ModeRows TreasurePanel::listRows(const SaveDocument& document) const
{
    const ScenarioData& scenario = document.scenario();
    ModeRows rows;
    for (int i = 0; i < kCount; ++i) {
        const int owner = DecodeTreasure(scenario.bytes, &document.bytes(), i).owner;
        rows.texts << rowText(i, scenario.treasureNames[i], ownerName(owner));
    }
    return rows;
}

void TreasurePanel::showTreasure(const QByteArray& save, const ScenarioData& scenario, int i)
{
    const TreasureRecord r = DecodeTreasure(scenario.bytes, &save, i);
    shown_ = r;
    shownTreasure_ = i;
    Text4[0]->setText(scenario.treasureNames[i]);
    Label17->setText(scenario.treasureNames[i]);
    Text4[1]->setText(QString::number(TreasureField(QStringLiteral("price")).get(r).number));
    Text4[2]->setText(QString::number(r.points));
    const int skill = SkillListIndex(r.skill);
    SelectListIndex(Combo2[2], kSkillItemCount, skill, r.skill);
    // The kind rule runs on the selection, also when it stays where it was.
    {
        const QSignalBlocker block(Combo2[1]);
        SelectListIndex(Combo2[1], kKindCount, r.kind, r.kind);
    }
    treasureKindChosen();
    setOwner(r.owner);
    // A stored number outside the bank is shown as it is and kept until stepped.
    picture_ = r.picture;
    drawPicture(picture_);
    Text6->setPlainText(picture_ >= 0 && picture_ < notes_.size() ? notes_[picture_] : QString());
}

void TreasurePanel::treasureKindChosen()
{
    const int kind = ShowsRawValue(Combo2[1], kKindCount) ? shown_.kind : Combo2[1]->currentIndex();
    Combo2[0]->setCurrentIndex(RaisedAbility(kind));
    Text4[2]->setText(QString::number(ShownPoints(kind, shown_.points)));
}

void TreasurePanel::setOwner(int owner)
{
    owner_ = owner;
    Text4[3]->setText(ownerName(owner));
}

void TreasurePanel::drawPicture(int n)
{
    Text7->setText(QString::number(n));
    ShowTempBitmap(session_, Picture2, kTreasureBitmapName, TreasureBitmapBytes(session_.banks, n));
}

void TreasurePanel::ShowBWPic(int& n)
{
    n = WrapPictureNumber(n);
    drawPicture(n);
}

void TreasurePanel::stepPicture(int by)
{
    picture_ += by;
    ShowBWPic(picture_);
}

void TreasurePanel::Text7_Enter()
{
    // An empty box forms no number: the picture stays.
    bool ok = false;
    const int n = Text7->text().toInt(&ok);
    if (!ok)
        return;
    picture_ = n;
    ShowBWPic(picture_);
}

std::optional<FieldProblem> TreasurePanel::edit(RecordChanges& changes) const
{
    TreasureRecord r = shown_;
    // Points the kind rule shows otherwise (0 for a kind that raises nothing) keep
    // their stored value while the kind and the box are as they were shown.
    const bool kindAsStored = ShowsRawValue(Combo2[1], kKindCount) || Combo2[1]->currentIndex() == shown_.kind;
    const QString pointsAsShown = QString::number(ShownPoints(shown_.kind, shown_.points));
    auto textOf = [this, kindAsStored, &pointsAsShown](const QString& control) {
        if (control == QLatin1String("Text4(1)"))
            return Text4[1]->text();
        return kindAsStored && Text4[2]->text() == pointsAsShown ? QString::number(shown_.points) : Text4[2]->text();
    };
    if (auto problem = ReadNumberFields(TreasureFields(), textOf, r))
        return problem;
    r.name = Text4[0]->text();
    // A list left where it was keeps the stored code (a skill byte of 26 shows as "無").
    if (!ShowsRawValue(Combo2[2], kSkillItemCount) && Combo2[2]->currentIndex() != SkillListIndex(shown_.skill))
        r.skill = SkillByte(Combo2[2]->currentIndex());
    if (!ShowsRawValue(Combo2[1], kKindCount))
        r.kind = Combo2[1]->currentIndex();
    r.picture = picture_;
    r.owner = owner_;
    changes = ChangesBetween(TreasureFields(), shown_, r);
    return std::nullopt;
}

bool TreasurePanel::differsFrom(const DocumentKinds& kinds) const
{
    RecordChanges changes;
    return shownTreasure_ >= 0 && (edit(changes) || kinds.differs(SaveRecord::Treasure, shownTreasure_, changes));
}

bool TreasurePanel::applyShown(DocumentKinds& kinds)
{
    const int i = shownTreasure_;
    if (i < 0)
        return false;
    RecordChanges changes;
    auto problem = edit(changes);
    if (!problem)
        problem = kinds.write(SaveRecord::Treasure, i, changes);
    if (problem) {
        session_.prompter->tell(problem->shown(), kErrorTitle, MessageIcon::Critical);
        QLineEdit* atFault = Text4[std::size_t(std::max(0, IndexOfControl(problem->control)))];
        atFault->setFocus();
        atFault->selectAll();
        return false;
    }
    const SaveDocument& document = kinds.document();
    shown_ = DecodeTreasure(document.scenario().bytes, &document.bytes(), i);
    List2->item(i)->setText(rowText(i, shown_.name, Text4[3]->text()));
    Label17->setText(shown_.name);
    Command13->setEnabled(true);
    return true;
}

void TreasurePanel::showRecord(const SaveDocument& document, int row)
{
    showTreasure(document.bytes(), document.scenario(), row);
}

}  // namespace varkel
