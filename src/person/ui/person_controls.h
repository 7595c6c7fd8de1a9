#pragma once

#include "person/person_block.h"
#include "shared/number_fields.h"
#include "shared/session.h"
#include "shared/ui/pickers.h"

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace varkel {

// The object names of the shared person controls in one view. The officer and
// new-officer views use the defaults; the family view, which sits beside the
// officer view in one window, has its own.
struct PersonControlNames {
    const char* namesFrame = "Frame1";
    const char* names = "Text1";
    const char* picture = "Picture1";
    const char* changeFace = "Command1";
    const char* sexFrame = "Frame9";
    const char* male = "Option1";
    const char* female = "Option2";
    const char* tacticKindsFrame = "Frame6";
    const char* tacticKinds = "Check1";
    const char* tacticsFrame = "Frame4";
    const char* tacticLabels = "Label4";
    const char* tactics = "Combo6";
    const char* skillsFrame = "Frame5";
    const char* skills = "Check2";
};

// The controls every view of a person shares (officers, family members, new
// officers): names, face, sex, preferred tactic kinds, tactic levels and skills.
// They are built, shown and read back alike; each view places the groups. The
// comments give the default object names.
class PersonControls {
public:
    explicit PersonControls(Session& session, PersonControlNames names = {}) : session_(session), names_(names) {}

    QGroupBox* buildNames(QWidget* parent);  // "基本信息": Text1(0..4)
    QWidget* buildFace(QWidget* parent);     // Picture1 and Command1 "改變"
    QGroupBox* buildSex(QWidget* parent);    // "性別": Option1, Option2
    QGroupBox* buildTacticKinds(QWidget* parent);  // "戰法傾向": Check1(0..3)
    QGroupBox* buildTactics(QWidget* parent);      // "戰法": Combo6(k), Label4(k)
    QGroupBox* buildSkills(QWidget* parent);       // "特技": Check2

    // Runs after the full name changed (it follows surname and given name).
    void setFullNameChanged(std::function<void()> changed) { fullNameChanged_ = std::move(changed); }

    // Names, sex, tactic kinds and face.
    void showPerson(const PersonBlock& person);
    // The view's values, the face included, into `person`, which holds the person
    // as read; changes nothing on screen.
    void readPerson(PersonBlock& person) const;
    void showSkills(std::uint32_t skills);
    void readSkills(std::uint32_t& skills) const;
    // Nibbles 14 and 15 are no level: they show as an extra item with their number.
    void showTactics(const std::array<int, kTacticCount>& nibbles);
    // The levels chosen, as the tactics field of a field table takes them: a list
    // left on its extra item gives the stored nibble back.
    FieldValue tacticLevels(const std::array<int, kTacticCount>& stored) const;
    // Every tactic to "極" and every skill ticked; stored by Apply.
    void fillTacticsAndSkills();
    // Opens the face picker on this view's face; the face picked becomes the
    // view's face, stored by Apply, and is drawn. A cancelled picker draws the
    // face again as the bank wraps it.
    void chooseFace(const Picker& picker, QWidget* parent);
    QString fullName() const;

    // The controls of each group in reading order, for a view's tab order.
    enum class Group { Names, Face, Sex, TacticKinds, Tactics, Skills };
    std::vector<QWidget*> inReadingOrder(Group group) const;

    std::array<QLineEdit*, 5> Text1{};
    std::array<QCheckBox*, 4> Check1{};
    std::array<QCheckBox*, 38> Check2{};  // 10 * byte row + bit; gaps stay null
    std::array<QComboBox*, kTacticCount> Combo6{};
    std::array<QLabel*, kTacticCount> Label4{};
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLabel* Picture1 = nullptr;
    QPushButton* Command1 = nullptr;

private:
    void Text1_Change(int k);

    Session& session_;
    PersonControlNames names_;
    std::function<void()> fullNameChanged_;
    // Kept here rather than read from the session, which every view of a person shares.
    int face_ = 0;
};

// The biography box of a member record: several lines of 18 characters, at most
// what a record holds. Tab leaves it, as it leaves every other box; the record
// puts its own line breaks, so the box needs no key of its own.
QPlainTextEdit* MakeBiographyBox(const QString& name, QWidget* parent);

// Index of the skill (text 143 + index) a box of the skill array stands for: box
// 10 * j + b is bit b of skill byte 3 - j counted from the last.
int SkillOfBox(int box);

// The keys of the five tendency lists of a member record, in the views' order.
inline const std::vector<QString>& TendencyKeys()
{
    static const std::vector<QString> keys = {QStringLiteral("character_tendency"),
                                              QStringLiteral("strategic_tendency"), QStringLiteral("personality"),
                                              QStringLiteral("aspiration"), QStringLiteral("growth_tendency")};
    return keys;
}

}  // namespace varkel
