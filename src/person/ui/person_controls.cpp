#include "person/ui/person_controls.h"

#include "person/biography.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/number_boxes.h"
#include "shared/ui/standard_error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varkel {

namespace {

constexpr int kTacticLevels = 7;  // "未" .. "極"
constexpr int kFirstRawTactic = 14;

const std::array<const char*, kTacticCount> kTacticNames = {"突擊", "亂擊", "攪亂", "奇襲", "槍陣",
                                                            "車懸", "火箭", "齊射", "亂射", "箭嵐",
                                                            "激流", "烈火", "落石", "妖朮", "攻城"};

// The box of skill `s` (text 143 + s): the inverse of SkillOfBox.
int boxOfSkill(int s)
{
    return 10 * (s / 8) + 7 - s % 8;
}

}  // namespace

int SkillOfBox(int box)
{
    return 8 * (box / 10) + 7 - box % 10;
}

QPlainTextEdit* MakeBiographyBox(const QString& name, QWidget* parent)
{
    auto* box = named(new QPlainTextEdit(parent), name);
    UseTextFilter(box, biography::kCapacity);
    box->setTabChangesFocus(true);
    // Eighteen characters a line, as the record breaks them.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(biography::kLineChars + 1, QChar(0x570B))) + 24);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 5 + 16);
    return box;
}

QGroupBox* PersonControls::buildNames(QWidget* parent)
{
    auto* frame = named(new QGroupBox(QStringLiteral("基本信息"), parent), QLatin1String(names_.namesFrame));
    auto* grid = new QGridLayout(frame);
    const std::array<const char*, 5> labels = {"姓", "名", "字", "稱號", "姓名"};
    const std::array<int, 5> lengths = {2, 2, 2, 5, 4};
    // Surname, given and courtesy name in the first row; title and full name below.
    const std::array<std::pair<int, int>, 5> cells = {{{0, 0}, {0, 2}, {0, 4}, {1, 0}, {1, 3}}};
    for (int k = 0; k < 5; ++k) {
        Text1[k] = named(new QLineEdit(frame), indexed(names_.names, k));
        UseNameFilter(Text1[k], lengths[k]);
        FitBoxWidth(Text1[k], lengths[k], true);
        const auto [row, column] = cells[k];
        grid->addWidget(new QLabel(QString::fromUtf8(labels[k]), frame), row, column, Qt::AlignRight);
        grid->addWidget(Text1[k], row, column + 1, 1, k == 3 ? 2 : 1, Qt::AlignLeft);
        QObject::connect(Text1[k], &QLineEdit::textChanged, frame, [this, k] { Text1_Change(k); });
    }
    return frame;
}

void PersonControls::Text1_Change(int k)
{
    if (k == 0 || k == 1)
        Text1[4]->setText(Text1[0]->text() + Text1[1]->text());
    if (k == 4 && fullNameChanged_)
        fullNameChanged_();
}

QWidget* PersonControls::buildFace(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    Picture1 = MakeFacePicture(QLatin1String(names_.picture), box);
    Command1 = named(new QPushButton(QStringLiteral("改變"), box), QLatin1String(names_.changeFace));
    Command1->setFixedWidth(kFaceWidth + 2);
    column->addWidget(Picture1);
    column->addWidget(Command1);
    return box;
}

QGroupBox* PersonControls::buildSex(QWidget* parent)
{
    auto* sex = named(new QGroupBox(QStringLiteral("性別"), parent), QLatin1String(names_.sexFrame));
    auto* row = new QHBoxLayout(sex);
    Option1 = named(new QRadioButton(QStringLiteral("男"), sex), QLatin1String(names_.male));
    Option2 = named(new QRadioButton(QStringLiteral("女"), sex), QLatin1String(names_.female));
    row->addWidget(Option1);
    row->addWidget(Option2);
    return sex;
}

QGroupBox* PersonControls::buildTacticKinds(QWidget* parent)
{
    auto* tendency = named(new QGroupBox(QStringLiteral("戰法傾向"), parent), QLatin1String(names_.tacticKindsFrame));
    auto* grid = new QGridLayout(tendency);
    const std::array<const char*, 4> captions = {"直接", "射擊", "奇襲", "計謀"};
    for (int k = 0; k < 4; ++k) {
        Check1[k] = named(new QCheckBox(QString::fromUtf8(captions[k]), tendency), indexed(names_.tacticKinds, k));
        grid->addWidget(Check1[k], k / 2, k % 2);
    }
    return tendency;
}

QGroupBox* PersonControls::buildSkills(QWidget* parent)
{
    auto* frame = named(new QGroupBox(QStringLiteral("特技"), parent), QLatin1String(names_.skillsFrame));
    auto* grid = new QGridLayout(frame);
    constexpr int kPerRow = 9;
    // Shown in the order of the skill texts.
    const QStringList captions = SkillBoxCaptions();
    for (int s = 0; s < kSkillCount; ++s) {
        const int box = boxOfSkill(s);
        Check2[box] = named(new QCheckBox(captions[s], frame), indexed(names_.skills, box));
        grid->addWidget(Check2[box], s / kPerRow, s % kPerRow);
    }
    return frame;
}

QGroupBox* PersonControls::buildTactics(QWidget* parent)
{
    auto* frame = named(new QGroupBox(QStringLiteral("戰法"), parent), QLatin1String(names_.tacticsFrame));
    auto* grid = new QGridLayout(frame);
    constexpr int kPerRow = 5;
    const QStringList levels = GetResTexts(Text::TacticLevels);
    for (int t = 0; t < kTacticCount; ++t) {
        Label4[t] = named(new QLabel(QString::fromUtf8(kTacticNames[t]), frame), indexed(names_.tacticLabels, t));
        Combo6[t] = named(new QComboBox(frame), indexed(names_.tactics, t));
        FillList(Combo6[t], levels);
        grid->addWidget(Label4[t], t / kPerRow, 2 * (t % kPerRow), Qt::AlignRight);
        grid->addWidget(Combo6[t], t / kPerRow, 2 * (t % kPerRow) + 1);
    }
    return frame;
}

void PersonControls::showPerson(const PersonBlock& p)
{
    Text1[0]->setText(p.surname);
    Text1[1]->setText(p.givenName);
    Text1[2]->setText(p.courtesyName);
    Text1[3]->setText(p.title);
    // The full name follows the surname and given name, as stored names are written.
    Text1_Change(4);
    Check1[0]->setChecked(p.tacticDirect);
    Check1[1]->setChecked(p.tacticShooting);
    (p.female ? Option2 : Option1)->setChecked(true);
    Check1[2]->setChecked(p.tacticSurprise);
    Check1[3]->setChecked(p.tacticScheme);
    face_ = p.face;
    // A number beyond the bank shows as the bank wraps it and is kept as stored
    // until another face is chosen.
    int shownFace = face_;
    ShowFace(session_, Picture1, shownFace);
}

void PersonControls::readPerson(PersonBlock& p) const
{
    // The full name is what its box holds once the user changed any of the three
    // (the box follows the surname and given name); while all are as shown, a
    // stored full name that is something else stays as it is.
    const bool renamed = Text1[0]->text() != p.surname || Text1[1]->text() != p.givenName ||
                         Text1[4]->text() != p.surname + p.givenName;
    p.surname = Text1[0]->text();
    p.givenName = Text1[1]->text();
    p.courtesyName = Text1[2]->text();
    p.title = Text1[3]->text();
    if (renamed)
        p.fullName = Text1[4]->text();
    p.face = face_;
    p.tacticDirect = Check1[0]->isChecked();
    p.tacticShooting = Check1[1]->isChecked();
    p.female = Option2->isChecked();
    p.tacticSurprise = Check1[2]->isChecked();
    p.tacticScheme = Check1[3]->isChecked();
}

void PersonControls::showSkills(std::uint32_t skills)
{
    for (int box = 0; box < static_cast<int>(Check2.size()); ++box)
        if (Check2[box])
            Check2[box]->setChecked(HasSkill(skills, SkillOfBox(box)));
}

void PersonControls::readSkills(std::uint32_t& skills) const
{
    for (int box = 0; box < static_cast<int>(Check2.size()); ++box)
        if (Check2[box])
            SetSkill(skills, SkillOfBox(box), Check2[box]->isChecked());
}

void PersonControls::showTactics(const std::array<int, kTacticCount>& nibbles)
{
    for (int t = 0; t < kTacticCount; ++t)
        SelectListIndex(Combo6[t], kTacticLevels, nibbles[t] >= kFirstRawTactic ? -1 : NibbleToListIndex(nibbles[t]),
                        nibbles[t]);
}

FieldValue PersonControls::tacticLevels(const std::array<int, kTacticCount>& stored) const
{
    FieldValue levels;
    for (int t = 0; t < kTacticCount; ++t)
        levels.list.push_back(ShowsRawValue(Combo6[t], kTacticLevels) ? stored[t] : Combo6[t]->currentIndex());
    return levels;
}

void PersonControls::fillTacticsAndSkills()
{
    for (QComboBox* tactic : Combo6)
        tactic->setCurrentIndex(kTacticLevels - 1);
    for (QCheckBox* skill : Check2)
        if (skill)
            skill->setChecked(true);
}

void PersonControls::chooseFace(const Picker& picker, QWidget* parent)
{
    if (!picker)
        return;
    face_ = picker(PickerKind::Face, face_, parent).value_or(face_);
    ShowFace(session_, Picture1, face_);
}

QString PersonControls::fullName() const
{
    return Text1[4]->text();
}

std::vector<QWidget*> PersonControls::inReadingOrder(Group group) const
{
    switch (group) {
    case Group::Names:
        return {Text1.begin(), Text1.end()};
    case Group::Face:
        return {Command1};
    case Group::Sex:
        return {Option1, Option2};
    case Group::TacticKinds:
        return {Check1.begin(), Check1.end()};
    case Group::Tactics:
        return {Combo6.begin(), Combo6.end()};
    case Group::Skills: {
        // As the boxes are laid out: in the order of the skill texts.
        std::vector<QWidget*> boxes;
        for (int s = 0; s < kSkillCount; ++s)
            boxes.push_back(Check2[std::size_t(boxOfSkill(s))]);
        return boxes;
    }
    }
    return {};
}

}  // namespace varkel
