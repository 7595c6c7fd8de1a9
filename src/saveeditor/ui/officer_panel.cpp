#include "saveeditor/ui/officer_panel.h"

#include "saveeditor/officer_fields.h"
#include "shared/name_field.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/standard_error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

namespace {

constexpr int kTacticLevels = 7;  // "未" .. "極"
constexpr int kRankItems = 10;
constexpr int kHealthItems = 8;
constexpr int kStatusItems = 12;

const std::array<const char*, kTacticCount> kTacticNames = {"突擊", "亂擊", "攪亂", "奇襲", "槍陣",
                                                            "車懸", "火箭", "齊射", "亂射", "箭嵐",
                                                            "激流", "烈火", "落石", "妖朮", "攻城"};

// The index inside the control name "Text3(14)".
int indexOf(const QString& control)
{
    const qsizetype open = control.indexOf(QLatin1Char('('));
    return control.mid(open + 1, control.size() - open - 2).toInt();
}

// Wide enough for `chars` characters of the widest kind the box takes.
void fitWidth(QLineEdit* box, int chars, bool doubleByte)
{
    const QFontMetrics m(box->font());
    const int each = doubleByte ? m.horizontalAdvance(QChar(0x570B)) : m.horizontalAdvance(QLatin1Char('0'));
    box->setFixedWidth(each * std::max(chars, 2) + 14);
}

}  // namespace

int SkillOfBox(int box)
{
    return 8 * (box / 10) + 7 - box % 10;
}

OfficerPanel::OfficerPanel(Session& session, QWidget* parent) : QFrame(parent), session_(session)
{
    setObjectName(QStringLiteral("Frame10(0)"));
    auto* top = new QHBoxLayout;
    top->addWidget(buildNames());
    top->addWidget(buildFace());
    top->addWidget(buildSexAndDate());
    top->addWidget(buildTendency());
    top->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildLists());
    middle->addWidget(buildTactics(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(buildNumbers());
    layout->addLayout(middle);
    layout->addWidget(buildSkills());
    layout->addWidget(buildCommands());
    layout->addStretch();
}

QWidget* OfficerPanel::buildNames()
{
    auto* frame = named(new QGroupBox(QStringLiteral("基本信息"), this), QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    const std::array<const char*, 5> labels = {"姓", "名", "字", "稱號", "姓名"};
    const std::array<int, 5> lengths = {2, 2, 2, 5, 4};
    // Surname, given and courtesy name in the first row; title and full name below.
    const std::array<std::pair<int, int>, 5> cells = {{{0, 0}, {0, 2}, {0, 4}, {1, 0}, {1, 3}}};
    for (int k = 0; k < 5; ++k) {
        Text1[k] = named(new QLineEdit(frame), indexed("Text1", k));
        UseNameFilter(Text1[k], lengths[k]);
        fitWidth(Text1[k], lengths[k], true);
        const auto [row, column] = cells[k];
        grid->addWidget(new QLabel(QString::fromUtf8(labels[k]), frame), row, column, Qt::AlignRight);
        grid->addWidget(Text1[k], row, column + 1, 1, k == 3 ? 2 : 1, Qt::AlignLeft);
        connect(Text1[k], &QLineEdit::textChanged, this, [this, k] { Text1_Change(k); });
    }
    return frame;
}

QWidget* OfficerPanel::buildFace()
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    Picture1 = named(new QLabel(box), QStringLiteral("Picture1"));
    Picture1->setFixedSize(kFaceWidth + 2, kFaceHeight + 2);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignCenter);
    Command1 = named(new QPushButton(QStringLiteral("改變"), box), QStringLiteral("Command1"));
    Command1->setFixedWidth(kFaceWidth + 2);
    connect(Command1, &QPushButton::clicked, this, &OfficerPanel::changeFaceRequested);
    column->addWidget(Picture1);
    column->addWidget(Command1);
    return box;
}

QWidget* OfficerPanel::buildSexAndDate()
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto* sex = named(new QGroupBox(QStringLiteral("性別"), box), QStringLiteral("Frame9"));
    auto* sexRow = new QHBoxLayout(sex);
    Option1 = named(new QRadioButton(QStringLiteral("男"), sex), QStringLiteral("Option1"));
    Option2 = named(new QRadioButton(QStringLiteral("女"), sex), QStringLiteral("Option2"));
    sexRow->addWidget(Option1);
    sexRow->addWidget(Option2);
    auto* date = named(new QGroupBox(QStringLiteral("年代"), box), QStringLiteral("Frame7"));
    auto* dateRow = new QHBoxLayout(date);
    dateRow->addWidget(new QLabel(QStringLiteral("公元"), date));
    Text5[0] = named(new QLineEdit(date), QStringLiteral("Text5(0)"));
    dateRow->addWidget(Text5[0]);
    dateRow->addWidget(new QLabel(QStringLiteral("年"), date));
    Text5[1] = named(new QLineEdit(date), QStringLiteral("Text5(1)"));
    dateRow->addWidget(Text5[1]);
    dateRow->addWidget(new QLabel(QStringLiteral("月"), date));
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
    for (const auto& field : OfficerFields()) {
        if (field.kind != FieldKind::Number || field.control.isEmpty())
            continue;
        const int i = indexOf(field.control);
        QLineEdit* box = nullptr;
        if (field.control.startsWith(QLatin1String("Text5"))) {
            box = Text5[i];  // placed with the date
        } else if (field.control.startsWith(QLatin1String("Text2"))) {
            box = Text2[i] = named(new QLineEdit(abilities), field.control);
            abilityGrid->addWidget(new QLabel(field.label, abilities), i / 2, 2 * (i % 2), Qt::AlignRight);
            abilityGrid->addWidget(box, i / 2, 2 * (i % 2) + 1);
        } else {
            constexpr int kPerRow = 6;
            box = Text3[i] = named(new QLineEdit(traits), field.control);
            traitGrid->addWidget(new QLabel(field.label, traits), i / kPerRow, 2 * (i % kPerRow), Qt::AlignRight);
            traitGrid->addWidget(box, i / kPerRow, 2 * (i % kPerRow) + 1);
        }
        UseDigitFilter(box, field.maxDigits);
        fitWidth(box, field.maxDigits, false);
        box->setReadOnly(field.readOnly || !field.set);
        numberBoxes_[field.control] = box;
    }
    return row;
}

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
    FillList(Combo3, GetResTexts(300, 311));
    Combo9 = named(new QComboBox(box), QStringLiteral("Combo9"));
    Combo11 = named(new QComboBox(box), QStringLiteral("Combo11"));
    FillList(Combo11, RankItems());
    Combo1 = named(new QComboBox(box), QStringLiteral("Combo1"));
    FillList(Combo1, GetResTexts(182, 189));
    const std::array<std::pair<const char*, QComboBox*>, 5> rows = {
        {{"勢力", Combo8}, {"身份", Combo3}, {"都市", Combo9}, {"階級", Combo11}, {"健康", Combo1}}};
    for (int r = 0; r < 5; ++r) {
        grid->addWidget(new QLabel(QString::fromUtf8(rows[r].first), box), r, 0, Qt::AlignRight);
        grid->addWidget(rows[r].second, r, 1);
    }
    // Force, status and city are changed elsewhere in the game, never by this view.
    for (QComboBox* shownOnly : {Combo8, Combo3, Combo9})
        shownOnly->setEnabled(false);
    column->addLayout(grid);
    column->addStretch();
    return box;
}

QWidget* OfficerPanel::buildTendency()
{
    auto* tendency = named(new QGroupBox(QStringLiteral("戰法傾向"), this), QStringLiteral("Frame6"));
    auto* grid = new QGridLayout(tendency);
    const std::array<const char*, 4> captions = {"直接", "射擊", "奇襲", "計謀"};
    for (int k = 0; k < 4; ++k) {
        Check1[k] = named(new QCheckBox(QString::fromUtf8(captions[k]), tendency), indexed("Check1", k));
        grid->addWidget(Check1[k], k / 2, k % 2);
    }
    return tendency;
}

QWidget* OfficerPanel::buildSkills()
{
    auto* frame = named(new QGroupBox(QStringLiteral("特技"), this), QStringLiteral("Frame5"));
    auto* grid = new QGridLayout(frame);
    constexpr int kPerRow = 9;
    // Shown in the order of the skill texts.
    const QStringList captions = SkillBoxCaptions();
    for (int s = 0; s < kSkillCount; ++s) {
        const int box = 10 * (s / 8) + 7 - s % 8;
        Check2[box] = named(new QCheckBox(captions[s], frame), indexed("Check2", box));
        grid->addWidget(Check2[box], s / kPerRow, s % kPerRow);
    }
    return frame;
}

QWidget* OfficerPanel::buildTactics()
{
    auto* frame = named(new QGroupBox(QStringLiteral("戰法"), this), QStringLiteral("Frame4"));
    auto* grid = new QGridLayout(frame);
    constexpr int kPerRow = 5;
    const QStringList levels = GetResTexts(170, 176);
    for (int t = 0; t < kTacticCount; ++t) {
        Label4[t] = named(new QLabel(QString::fromUtf8(kTacticNames[t]), frame), indexed("Label4", t));
        Combo6[t] = named(new QComboBox(frame), indexed("Combo6", t));
        FillList(Combo6[t], levels);
        grid->addWidget(Label4[t], t / kPerRow, 2 * (t % kPerRow), Qt::AlignRight);
        grid->addWidget(Combo6[t], t / kPerRow, 2 * (t % kPerRow) + 1);
    }
    return frame;
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
    Command8 = named(new QPushButton(QStringLiteral("保存"), row), QStringLiteral("Command8(0)"));
    connect(Command9, &QPushButton::clicked, this, &OfficerPanel::Command9_Click);
    layout->addWidget(Check5);
    for (QPushButton* b : {Command11, Command9, Command10})
        layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(Command7);
    layout->addWidget(Command8);
    return row;
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
    return numberBoxes_.at(control);
}

QString OfficerPanel::fullName() const
{
    return Text1[4]->text();
}

void OfficerPanel::Text1_Change(int k)
{
    if (k == 0 || k == 1)
        Text1[4]->setText(Text1[0]->text() + Text1[1]->text());
    if (k == 4)
        Command7->setEnabled(!Text1[4]->text().isEmpty());
}

void OfficerPanel::showFace()
{
    ShowFace(session_, Picture1, session_.currentFace);
}

void OfficerPanel::setCheck5Quietly(bool on)
{
    viewLoaded_ = false;
    Check5->setChecked(on);
    viewLoaded_ = true;
}

void OfficerPanel::Command9_Click()
{
    for (QComboBox* tactic : Combo6)
        tactic->setCurrentIndex(kTacticLevels - 1);
    for (QCheckBox* skill : Check2)
        if (skill)
            skill->setChecked(true);
}

void OfficerPanel::ReadWJInfo2(const QByteArray& save, const SaveTables& tables, int n)
{
    viewLoaded_ = false;
    const OfficerRecord r = DecodeOfficer(save, n);
    shown_ = r;
    const PersonBlock& p = r.person;
    const StatusBlock& s = r.status;
    auto show = [this](const QString& control, int value) { numberBox(control)->setText(QString::number(value)); };

    show(QStringLiteral("Text5(0)"), r.date.year);
    show(QStringLiteral("Text5(1)"), r.date.month);
    Text1[0]->setText(p.surname);
    Text1[1]->setText(p.givenName);
    Text1[2]->setText(p.courtesyName);
    Text1[3]->setText(p.title);
    Text1_Change(4);
    // Every stored box shows its record field; the age is worked out from the years.
    for (const auto& field : OfficerFields())
        if (field.kind == FieldKind::Number && !field.control.isEmpty() && field.get)
            show(field.control, field.get(r).number);
    show(QStringLiteral("Text3(13)"), r.date.year - p.birthYear + 1);

    Check1[0]->setChecked(p.tacticDirect);
    Check1[1]->setChecked(p.tacticShooting);
    (p.female ? Option2 : Option1)->setChecked(true);
    Check1[2]->setChecked(p.tacticSurprise);
    Check1[3]->setChecked(p.tacticScheme);
    session_.currentFace = p.face;
    showFace();

    for (int box = 0; box < static_cast<int>(Check2.size()); ++box)
        if (Check2[box])
            Check2[box]->setChecked(HasSkill(s.skills, SkillOfBox(box)));
    for (int t = 0; t < kTacticCount; ++t)
        SelectListIndex(Combo6[t], kTacticLevels, s.tactics[t] >= 14 ? -1 : NibbleToListIndex(s.tactics[t]),
                        s.tactics[t]);

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
    // Command10 opens the intimacy editor, which is not there yet.
    Command10->setEnabled(false);
    Check5->setChecked(tables.isControlled(n));
    viewLoaded_ = true;
}

bool OfficerPanel::WriteWJInfo2(QByteArray& save, int n)
{
    OfficerRecord r = shown_;
    std::vector<std::pair<QString, QString>> clamped;
    auto textOf = [this](const QString& control) { return numberBox(control)->text(); };
    std::optional<FieldProblem> problem = ReadNumberFields(OfficerFields(), textOf, r, &clamped);
    if (!problem)
        problem = OfficerStorageProblem(r);
    if (problem) {
        session_.prompter->tell(problem->message, kErrorTitle, MessageIcon::Critical);
        numberBox(problem->control)->setFocus();
        numberBox(problem->control)->selectAll();
        return false;
    }
    for (const auto& [control, text] : clamped)
        numberBox(control)->setText(text);

    PersonBlock& p = r.person;
    p.surname = Text1[0]->text();
    p.givenName = Text1[1]->text();
    p.courtesyName = Text1[2]->text();
    p.title = Text1[3]->text();
    p.fullName = Text1[4]->text();
    p.face = session_.currentFace;
    p.tacticDirect = Check1[0]->isChecked();
    p.tacticShooting = Check1[1]->isChecked();
    p.female = Option2->isChecked();
    p.tacticSurprise = Check1[2]->isChecked();
    p.tacticScheme = Check1[3]->isChecked();

    StatusBlock& s = r.status;
    for (int box = 0; box < static_cast<int>(Check2.size()); ++box)
        if (Check2[box])
            SetSkill(s.skills, SkillOfBox(box), Check2[box]->isChecked());
    // The field table keeps the stored nibble of a level left as it was.
    FieldValue levels;
    for (int t = 0; t < kTacticCount; ++t)
        levels.list.push_back(ShowsRawValue(Combo6[t], kTacticLevels) ? shown_.status.tactics[t]
                                                                       : Combo6[t]->currentIndex());
    OfficerField(QStringLiteral("tactics")).set(r, levels);
    s.rank = RankFromList(Combo11->currentIndex(), shown_.status.rank);
    s.health = Combo1->currentIndex();
    EncodeOfficer(save, n, r);
    shown_ = DecodeOfficer(save, n);
    return true;
}

}  // namespace varkel
