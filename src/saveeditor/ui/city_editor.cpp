#include "saveeditor/ui/city_editor.h"

#include "shared/name_field.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace varkel {

using namespace city;

namespace {

constexpr int kRowDigits = 2;
constexpr int kNameWidth = 3;  // of the longest city name, in characters
constexpr int kStrengthDigits = 4;

QGridLayout* labelledRows(QGroupBox* frame, const std::vector<std::pair<QLabel*, QWidget*>>& rows)
{
    auto* grid = new QGridLayout(frame);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        grid->addWidget(rows[i].first, int(i), 0);
        grid->addWidget(rows[i].second, int(i), 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

// A row's caption. Made on the window; the frame's layout takes it over.
QLabel* rowCaption(QWidget* window, const char* name, const char* text)
{
    return named(new QLabel(QString::fromUtf8(text), window), QString::fromLatin1(name));
}

}  // namespace

CityEditor::CityEditor(Session& session, SaveDocument& document, const QStringList& cityNames, Picker picker,
                       QWidget* parent)
    : RecordListEditor(*session.prompter, document, parent),
      session_(session),
      kinds_(document, {}),
      save_(document.bytes()),
      tables_(document.tables()),
      picker_(std::move(picker)),
      flags_(CityFields(), this),
      heads_(CityHeads::build(save_, tables_.officerCount))
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(GetResText(Text::CityEditorTitle));

    for (int c = 0; c < kCount; ++c)
        addRow(c, cityNames.value(c));
    fitList(kNameWidth);
    Frame3 = buildCityInfo();
    Frame2 = buildBandits();
    Frame1 = buildDisasters();

    const Buttons buttons = layOut({Frame3, Frame2, Frame1}, QStringLiteral("Command2"), QStringLiteral("Command3"));
    Command2 = buttons.apply;
    Command3 = buttons.exit;

    TabOrder order;
    order << List1 << Combo1 << Combo2 << Combo3 << Check2 << Text1 << Text2 << Command1 << Check1 << tableButton
          << Command2 << Command3;
    order.apply();

    enableBandits(false);
    List1->setCurrentRow(0);
}

QGroupBox* CityEditor::buildCityInfo()
{
    auto* frame = named(new QGroupBox(QStringLiteral("都市情報"), this), QStringLiteral("Frame3"));
    Combo1 = named(new QComboBox(frame), QStringLiteral("Combo1"));
    FillList(Combo1, tables_.leaderNames);
    Combo1->setEnabled(false);
    Combo2 = named(new QComboBox(frame), QStringLiteral("Combo2"));
    Combo3 = named(new QComboBox(frame), QStringLiteral("Combo3"));
    const int nameWidth = fontMetrics().horizontalAdvance(QStringLiteral("00:國國國國")) + 40;
    for (QComboBox* combo : {Combo1, Combo2, Combo3})
        combo->setMinimumWidth(nameWidth);
    labelledRows(frame, {{rowCaption(this, "Label3", "勢力"), Combo1},
                         {rowCaption(this, "Label5", "軍團"), Combo2},
                         {rowCaption(this, "Label4", "太守"), Combo3}});
    return frame;
}

QGroupBox* CityEditor::buildBandits()
{
    auto* frame = named(new QGroupBox(QStringLiteral("盜賊"), this), QStringLiteral("Frame2"));
    Check2 = flags_.box(QStringLiteral("Check2"));
    Check2->setParent(frame);
    connect(Check2, &QCheckBox::clicked, this, &CityEditor::banditsTicked);
    Text1 = named(new QLineEdit(frame), QStringLiteral("Text1"));
    UseDigitFilter(Text1, kStrengthDigits);
    Text2 = named(new QLineEdit(frame), QStringLiteral("Text2"));
    Text2->setReadOnly(true);
    Command1 = named(new QPushButton(QStringLiteral("選擇"), frame), QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &CityEditor::chooseBanditLeader);
    auto* leaderRow = new QHBoxLayout;
    leaderRow->addWidget(Text2, 1);
    leaderRow->addWidget(Command1);
    auto* bandits = new QGridLayout(frame);
    bandits->addWidget(Check2, 0, 0, 1, 2);
    bandits->addWidget(rowCaption(this, "Label1", "盜賊數量"), 1, 0);
    bandits->addWidget(Text1, 1, 1);
    bandits->addWidget(rowCaption(this, "Label2", "盜賊首領"), 2, 0);
    bandits->addLayout(leaderRow, 2, 1);
    bandits->setColumnStretch(1, 1);
    return frame;
}

QGroupBox* CityEditor::buildDisasters()
{
    auto* frame = named(new QGroupBox(QStringLiteral("災害"), this), QStringLiteral("Frame1"));
    auto* disasters = new QGridLayout(frame);
    for (int k = 0; k < kDisasterCount; ++k) {
        Check1[k] = flags_.box(indexed("Check1", k));
        Check1[k]->setParent(frame);
        disasters->addWidget(Check1[k], k / 3, k % 3);
    }
    return frame;
}

void CityEditor::showRecord(int c)
{
    officers_ = CityOfficersOf(save_, tables_.officerCount, c);
    shown_ = DecodeCity(save_, heads_, officers_, c);
    Text1->setText(QString::number(CityField(QStringLiteral("bandit_strength")).get(shown_).number));
    flags_.show(shown_);
    enableBandits(shown_.bandits());
    leader_ = shown_.leader;
    showLeader();
    showHeads();
    showForce(shown_.force);
    showCorps(c);
}

void CityEditor::showLeader()
{
    // No name for "none"; the number for a leader outside the officers.
    if (leader_ == kNoLeader)
        Text2->clear();
    else if (leader_ >= 0 && leader_ < tables_.officerCount)
        Text2->setText(tables_.officerNames.value(leader_));
    else
        Text2->setText(QString::number(leader_));
}

void CityEditor::showHeads()
{
    const QSignalBlocker block(Combo3);
    Combo3->clear();
    headRows_.clear();
    // A city nobody heads shows "無" first: choosing a candidate there changes nothing.
    if (officers_.head < 0) {
        Combo3->addItem(GetResText(Text::Nothing));
        headRows_.push_back(-1);
    }
    for (const int n : officers_.candidates) {
        Combo3->addItem(tables_.officerNames.value(n));
        headRows_.push_back(n);
    }
    Combo3->setCurrentIndex(int(std::find(headRows_.begin(), headRows_.end(), officers_.head) - headRows_.begin()));
    Combo3->setEnabled(MayChangeHead(shown_, officers_));
}

void CityEditor::showForce(int force)
{
    const QString name = tables_.forceName(force);
    const int listed = int(tables_.leaderNames.size());
    const qsizetype at = force < save::kForceNameCount ? tables_.leaderNames.indexOf(name) : -1;
    SelectListIndex(Combo1, listed, int(at), force);
}

void CityEditor::showCorps(int c)
{
    const QSignalBlocker block(Combo2);
    Combo2->clear();
    corpsRows_ = heads_.corpsOf(shown_.force);
    const bool choices = !corpsRows_.empty();
    // A city of a corps that is not among its force's (none, or an odd byte) keeps it as a row of its own.
    if (std::find(corpsRows_.begin(), corpsRows_.end(), shown_.corps) == corpsRows_.end())
        corpsRows_.push_back(shown_.corps);
    for (const int k : corpsRows_) {
        const int commander = k < kCorpsCount ? heads_.corps[std::size_t(k)].commander : -1;
        const QString name = commander >= 0  ? tables_.officerNames.value(commander)
                             : k == kNoCorps ? GetResText(Text::Nothing)
                                             : QString();
        Combo2->addItem(FormatNumber(k, kRowDigits) + QLatin1Char(':') + name);
    }
    const auto row = std::find(corpsRows_.begin(), corpsRows_.end(), shown_.corps);
    Combo2->setCurrentIndex(int(row - corpsRows_.begin()));
    // The city its corps is commanded from stays with that corps.
    const bool seat = shown_.corps < kCorpsCount && heads_.corps[std::size_t(shown_.corps)].commander >= 0 &&
                      heads_.corps[std::size_t(shown_.corps)].commander == heads_.head[std::size_t(c)];
    Combo2->setEnabled(choices && corpsRows_.size() > 1 && !seat);
}

void CityEditor::enableBandits(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, Text2, Command1})
        w->setEnabled(on);
}

void CityEditor::banditsTicked()
{
    enableBandits(Check2->isChecked());
    if (!Check2->isChecked()) {
        Text1->setText(QStringLiteral("0"));
        leader_ = kNoLeader;
        showLeader();
    }
}

void CityEditor::chooseBanditLeader()
{
    if (const auto leader = Pick(picker_, PickerKind::Officer, leader_, this)) {
        leader_ = *leader;
        showLeader();
    }
}

std::optional<FieldProblem> CityEditor::collect(CityRecord& edited) const
{
    edited = shown_;
    const auto& strength = CityField(QStringLiteral("bandit_strength"));
    // A box still showing what is stored keeps the stored byte, even above 5000.
    if (Text1->text() != QString::number(strength.get(shown_).number)) {
        const NumberReading typed = ReadNumber(strength, Text1->text());
        if (typed.problem)
            return typed.problem;
        strength.set(edited, FieldValue{typed.value, {}, {}});
    }
    flags_.read(edited);
    edited.leader = leader_;
    if (Combo2->currentIndex() >= 0)
        edited.corps = corpsRows_[std::size_t(Combo2->currentIndex())];
    if (Combo3->isEnabled() && Combo3->currentIndex() >= 0)
        edited.head = headRows_[std::size_t(Combo3->currentIndex())];
    return std::nullopt;
}

bool CityEditor::store(int c)
{
    CityRecord edited;
    // Only the strength box can be refused before the store checks the record.
    if (const auto problem = collect(edited)) {
        session_.prompter->tell(problem->message, kErrorTitle, MessageIcon::Critical);
        Text1->setFocus();
        Text1->selectAll();
        return false;
    }
    if (const auto problem = kinds_.write(SaveRecord::City, c, ChangesBetween(CityFields(), shown_, edited))) {
        session_.prompter->tell(problem->shown(), kErrorTitle, MessageIcon::Critical);
        return false;
    }
    return true;
}

void CityEditor::storedChanged()
{
    heads_ = CityHeads::build(save_, tables_.officerCount);
}

bool CityEditor::shownDiffers() const
{
    CityRecord edited;
    if (collect(edited))
        return true;
    return kinds_.differs(SaveRecord::City, shownRecord(), ChangesBetween(CityFields(), shown_, edited));
}

}  // namespace varkel
