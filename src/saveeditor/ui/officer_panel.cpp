#include "saveeditor/ui/officer_panel.h"

#include "saveeditor/document_kinds.h"
#include "saveeditor/officer_fields.h"
#include "saveeditor/save_document.h"
#include "shared/name_field.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/refusal.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

namespace {

constexpr int kStatusItems = 12;

// A row of the officer list: "000:name".
QString OfficerRow(int n, const QString& name)
{
    return NumberedItem(n, 3, name);
}

}  // namespace

OfficerPanel::OfficerPanel(Session& session, QWidget* parent) : QFrame(parent), session_(session), person_(session)
{
    setObjectName(QStringLiteral("Frame10(0)"));
    auto* top = new QHBoxLayout;
    top->addWidget(person_.buildNames(this));
    top->addWidget(person_.buildFace(this));
    connect(person_.Command1, &QPushButton::clicked, this, [this] { emit changeFaceRequested(); });
    person_.setFullNameChanged([this] { Command7->setEnabled(!person_.fullName().isEmpty()); });
    top->addWidget(buildSexAndDate());
    top->addWidget(person_.buildTacticKinds(this));
    top->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildLists());
    middle->addWidget(person_.buildTactics(this), 1);
    // The record scrolls in a small window; its buttons stay in sight below it.
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(buildNumbers());
    layout->addLayout(middle);
    layout->addWidget(person_.buildSkills(this));
    layout->addStretch();
    auto* view = new QVBoxLayout(this);
    view->setContentsMargins(0, 0, 0, 0);
    view->addWidget(new ScrollPane(body, this));
    view->addWidget(buildCommands());
    view->addStretch(1);
}

QWidget* OfficerPanel::buildSexAndDate()
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    QGroupBox* sex = person_.buildSex(box);
    auto* date = named(new QGroupBox(QStringLiteral("年代"), box), QStringLiteral("Frame7"));
    auto* dateRow = new QHBoxLayout(date);
    // The year and month boxes go between these captions (buildNumbers).
    dateRow->addWidget(new QLabel(QStringLiteral("公元"), date));
    dateRow->addWidget(new QLabel(QStringLiteral("年"), date));
    dateRow->addWidget(new QLabel(QStringLiteral("月"), date));
    dateRow_ = dateRow;
    column->addWidget(sex);
    column->addWidget(date);
    return box;
}

QWidget* OfficerPanel::buildNumbers()
{
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* abilities = named(new QGroupBox(QStringLiteral("能力"), row), QStringLiteral("Frame2"));
    auto* abilityGrid = new QGridLayout(abilities);
    auto* traits = named(new QGroupBox(QStringLiteral("屬性"), row), QStringLiteral("Frame3"));
    auto* traitGrid = new QGridLayout(traits);
    rowLayout->addWidget(abilities);
    rowLayout->addWidget(traits, 1);

    // Every number box comes from the field table: name, caption and input length.
    constexpr int kPerRow = 6;
    numbers_ = std::make_unique<NumberBoxes<OfficerRecord>>(
        OfficerFields(), row, [&](const RecordField<OfficerRecord>& field, QLabel* caption, QLineEdit* box) {
            const int i = IndexOfControl(field.control);
            if (field.control.startsWith(QLatin1String("Text5"))) {
                delete caption;  // the date has captions of its own
                Text5[i] = box;
                dateRow_->insertWidget(1 + 2 * i, box);
            } else if (field.control.startsWith(QLatin1String("Text2"))) {
                Text2[i] = box;
                PlaceInGrid(*abilityGrid, caption, box, i, 2);
            } else {
                Text3[i] = box;
                PlaceInGrid(*traitGrid, caption, box, i, kPerRow);
            }
        });
    return row;
}

namespace {

// The characters of the longest force or city name the lists show in full.
constexpr int kShownNameLength = 6;

}  // namespace

QWidget* OfficerPanel::buildLists()
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    Combo8 = named(new QComboBox(box), QStringLiteral("Combo8"));
    // The force is shown by name, which need not be in the list (a force without a leader).
    Combo8->setEditable(true);
    Combo3 = named(new QComboBox(box), QStringLiteral("Combo3"));
    FillList(Combo3, GetResTexts(Text::Statuses));
    Combo9 = named(new QComboBox(box), QStringLiteral("Combo9"));
    Combo11 = named(new QComboBox(box), QStringLiteral("Combo11"));
    FillList(Combo11, RankItems());
    Combo1 = named(new QComboBox(box), QStringLiteral("Combo1"));
    FillList(Combo1, GetResTexts(Text::HealthStates));
    const std::array<std::pair<const char*, QComboBox*>, 5> rows = {
        {{"勢力", Combo8}, {"身份", Combo3}, {"都市", Combo9}, {"階級", Combo11}, {"健康", Combo1}}};
    for (int r = 0; r < 5; ++r) {
        grid->addWidget(new QLabel(QString::fromUtf8(rows[r].first), box), r, 0, Qt::AlignRight);
        grid->addWidget(rows[r].second, r, 1);
    }
    // Force, status and city are changed elsewhere in the game, never by this view.
    for (QComboBox* shownOnly : {Combo8, Combo3, Combo9})
        shownOnly->setEnabled(false);
    // Wide enough for a name of the save: measuring every name of the lists
    // loaded a glyph of each of their characters before the window could show.
    for (QComboBox* names : {Combo8, Combo9}) {
        names->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        names->setMinimumContentsLength(kShownNameLength);
    }
    column->addLayout(grid);
    column->addStretch();
    return box;
}

QWidget* OfficerPanel::buildCommands()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    Check5 = named(new QCheckBox(QStringLiteral("擔當該武將"), row), QStringLiteral("Check5"));
    Command11 = named(new QPushButton(QStringLiteral("武將登場"), row), QStringLiteral("Command11"));
    Command9 = named(new QPushButton(QStringLiteral("戰技全滿"), row), QStringLiteral("Command9"));
    Command10 = named(new QPushButton(QStringLiteral("武將親密度"), row), QStringLiteral("Command10"));
    Command7 = named(new QPushButton(QStringLiteral("應用"), row), QStringLiteral("Command7(0)"));
    connect(Command9, &QPushButton::clicked, this, &OfficerPanel::fillTacticsAndSkills);
    layout->addWidget(Check5);
    for (QPushButton* b : {Command11, Command9, Command10})
        layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(Command7);
    commandRow_ = layout;
    return row;
}

std::vector<QWidget*> OfficerPanel::tabOrder() const
{
    using Group = PersonControls::Group;
    TabOrder order;
    order << person_.inReadingOrder(Group::Names) << person_.inReadingOrder(Group::Face)
          << person_.inReadingOrder(Group::Sex) << Text5 << person_.inReadingOrder(Group::TacticKinds) << Text2 << Text3
          << Combo8 << Combo3 << Combo9 << Combo11 << Combo1 << person_.inReadingOrder(Group::Tactics)
          << person_.inReadingOrder(Group::Skills) << Check5 << Command11 << Command9 << Command10 << Command7;
    return order.widgets();
}

void OfficerPanel::setCityNames(const QStringList& names)
{
    FillList(Combo9, names);
}

void OfficerPanel::setForceList(const QStringList& leaderNames)
{
    FillList(Combo8, leaderNames);
}

QLineEdit* OfficerPanel::numberBox(const QString& control) const
{
    return numbers_->box(control);
}

void OfficerPanel::chooseFace(const Picker& picker, QWidget* parent)
{
    person_.chooseFace(picker, parent);
}

void OfficerPanel::setCheck5Quietly(bool on)
{
    viewLoaded_ = false;
    Check5->setChecked(on);
    viewLoaded_ = true;
}

void OfficerPanel::fillTacticsAndSkills()
{
    person_.fillTacticsAndSkills();
}

void OfficerPanel::showOfficer(const QByteArray& save, const SaveTables& tables, int n)
{
    viewLoaded_ = false;
    const OfficerRecord r = DecodeOfficer(save, n);
    shown_ = r;
    shownOfficer_ = n;
    const PersonBlock& p = r.person;
    const StatusBlock& s = r.status;
    person_.showPerson(p);
    showNumbers(r);

    person_.showSkills(s.skills);
    person_.showTactics(s.tactics);

    // Status 12..15 shows as "特殊" and leaves the two commands as they were.
    Combo3->setCurrentIndex(StatusListIndex(s.status));
    if (s.status < kStatusItems) {
        const bool canAppear = s.status >= 8 && Command7->isEnabled();
        Command11->setEnabled(canAppear);
        Check5->setEnabled(!canAppear);
    }
    Combo11->setCurrentIndex(RankListIndex(s.rank));
    Combo8->setEditText(tables.forceName(s.force));
    Combo1->setCurrentIndex(s.health);
    SelectListIndex(Combo9, ScenarioData::kCityCount, r.city, r.city);
    // The intimacy editor is there for the controlled officers.
    Command10->setEnabled(tables.isControlled(n));
    Check5->setChecked(tables.isControlled(n));
    viewLoaded_ = true;
}

void OfficerPanel::showNumbers(const OfficerRecord& r)
{
    // Every stored box shows its record field; the age is worked out from the years.
    numbers_->show(r);
    numberBox(QStringLiteral("Text3(13)"))->setText(QString::number(r.date.year - r.person.birthYear + 1));
}

std::optional<FieldProblem> OfficerPanel::edit(RecordChanges& changes, SaveDocument::Edit& date) const
{
    OfficerRecord r = shown_;
    if (auto problem = numbers_->collect(r))
        return problem;
    person_.readPerson(r.person);
    StatusBlock& s = r.status;
    person_.readSkills(s.skills);
    // The field table keeps the stored nibble of a level left as it was.
    OfficerField(QStringLiteral("tactics")).set(r, person_.tacticLevels(shown_.status.tactics));
    s.rank = RankFromList(Combo11->currentIndex(), shown_.status.rank);
    s.health = Combo1->currentIndex();
    changes = ChangesBetween(OfficerFields(), shown_, r);
    // The game date belongs to the whole file; it is stored with the officer.
    if (r.date.year != shown_.date.year || r.date.month != shown_.date.month)
        date = [d = r.date](QByteArray& save, ScenarioData&) {
            EncodeGameDate(save, d);
            return true;
        };
    return std::nullopt;
}

bool OfficerPanel::differsFrom(const DocumentKinds& kinds) const
{
    RecordChanges changes;
    SaveDocument::Edit date;
    return shownOfficer_ >= 0 &&
           (edit(changes, date) || kinds.differs(SaveRecord::Officer, shownOfficer_, changes, date));
}

bool OfficerPanel::applyShown(DocumentKinds& kinds)
{
    const int n = shownOfficer_;
    if (n < 0)
        return false;
    RecordChanges changes;
    SaveDocument::Edit date;
    auto problem = edit(changes, date);
    if (!problem)
        problem = kinds.write(SaveRecord::Officer, n, changes, date);
    if (problem) {
        ShowRefusal(*session_.prompter, *this, *numbers_, *problem);
        return false;
    }
    // The boxes show what was stored: clamped values, and the years of service
    // and age that a new game year gives.
    shown_ = DecodeOfficer(kinds.document().bytes(), n);
    showNumbers(shown_);
    return true;
}

ModeRows OfficerPanel::listRows(const SaveDocument& document) const
{
    const SaveTables& tables = document.tables();
    ModeRows rows;
    for (int n = 0; n < tables.officerCount; ++n)
        rows.texts << OfficerRow(n, tables.officerNames[n]);
    return rows;
}

bool OfficerPanel::listsOtherName(int n, const QString& name) const
{
    return n >= 0 && n < list_->count() && list_->item(n)->text() != OfficerRow(n, name);
}

void OfficerPanel::renameInList(int n, const QString& name)
{
    list_->item(n)->setText(OfficerRow(n, name));
}

void OfficerPanel::showRecord(const SaveDocument& document, int row)
{
    showOfficer(document.bytes(), document.tables(), row);
}

}  // namespace varkel
