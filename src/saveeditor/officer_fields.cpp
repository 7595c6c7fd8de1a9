#include "saveeditor/officer_fields.h"

#include "shared/field_table.h"
#include "shared/name_field.h"
#include "shared/texts.h"

#include <algorithm>
#include <array>

namespace varkel {

namespace {

constexpr int kByte = 255;
constexpr int kWord = 65535;
constexpr int kLastFace = 845;
constexpr int kFirstRawTactic = 14;  // nibbles 14 and 15 are no level

// The level a tactic nibble shows as; 14 and 15 stand for themselves.
int TacticLevel(int nibble)
{
    return nibble >= kFirstRawTactic ? nibble : NibbleToListIndex(nibble);
}

using Field = RecordField<OfficerRecord>;

std::vector<Field> buildFields()
{
    FieldTable<OfficerRecord> t;
    const auto none = std::nullopt;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    t.name("surname", "姓", 2, [](auto& r) -> auto& { return r.person.surname; });
    t.name("given_name", "名", 2, [](auto& r) -> auto& { return r.person.givenName; });
    t.name("courtesy_name", "字", 2, [](auto& r) -> auto& { return r.person.courtesyName; });
    t.name("title", "稱號", 5, [](auto& r) -> auto& { return r.person.title; });
    // Always written as surname + given name.
    t.name("full_name", "姓名", 4, [](auto& r) -> auto& { return r.person.fullName; }).readOnly = true;

    // Number boxes, limits first, in the order they are applied.
    t.number("bravery", "Text3(0)", u("勇猛"), 1, none, 7, 7, [](auto& r) -> auto& { return r.person.bravery; });
    t.number("calmness", "Text3(1)", u("冷靜"), 1, none, 7, 7, [](auto& r) -> auto& { return r.person.calmness; });
    t.number("duty", "Text3(2)", u("義理"), 2, none, 15, 15, [](auto& r) -> auto& { return r.person.duty; });
    t.number("ambition", "Text3(3)", u("野心"), 2, none, 15, 15, [](auto& r) -> auto& { return r.person.ambition; });
    t.number("action", "Text3(4)", u("行動"), 3, none, 200, kByte, [](auto& r) -> auto& { return r.status.action; });
    t.number("related_officer", "Text3(5)", u("親武將"), 5, none, kWord, kWord,
             [](auto& r) -> auto& { return r.person.relatedOfficer; });
    t.number("family", "Text3(6)", u("家族"), 5, none, kWord, kWord,
             [](auto& r) -> auto& { return r.person.familyNumber; });
    t.number("compatibility", "Text3(7)", u("相性"), 3, none, 150, kByte,
             [](auto& r) -> auto& { return r.person.compatibility; });
    t.number("birth_year", "Text3(8)", u("出生"), 3, 100, 355, 355, [](auto& r) -> auto& { return r.person.birthYear; });
    t.number("lifespan", "Text3(9)", u("壽命"), 1, none, 7, 7, [](auto& r) -> auto& { return r.status.lifespan; });
    t.number("loyalty", "Text3(15)", u("忠誠"), 3, none, 100, kByte, [](auto& r) -> auto& { return r.status.loyalty; });
    // The game date is edited with every officer but belongs to the whole file.
    t.number("game_year", "Text5(0)", u("公元"), 3, 100, 355, 355, [](auto& r) -> auto& { return r.date.year; })
        .perRecord = false;
    t.number("game_month", "Text5(1)", u("月"), 2, none, 12, 15, [](auto& r) -> auto& { return r.date.month; })
        .perRecord = false;
    t.number("fame", "Text3(10)", u("名聲"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.fame; });
    t.number("infamy", "Text3(11)", u("惡名"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.infamy; });
    t.number("merit", "Text3(12)", u("功績"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.merit; });
    // No limits of their own: only what the record can hold.
    const std::array<const char*, 4> abilities = {"might", "intellect", "politics", "charisma"};
    for (int i = 0; i < 4; ++i)
        t.number(abilities[i], "", GetResText(122 + i), 3, none, none, kByte,
                 [i](auto& r) -> auto& { return r.person.abilities[std::size_t(i)]; })
            .control = QStringLiteral("Text2(%1)").arg(i);
    t.number("money", "Text3(16)", u("金錢"), 4, none, none, kWord, [](auto& r) -> auto& { return r.status.money; });
    t.number("years_of_service", "Text3(14)", u("仕官"), 2, none, none, kWord,
             [](auto& r) -> auto& { return r.yearsOfService; });
    // Shown only, worked out from the birth year.
    t.add("age", u("年齡"), FieldKind::Number).control = QStringLiteral("Text3(13)");

    // Chosen from the face bank by the face picker.
    t.number("face", "", u("頭像"), 3, none, none, kLastFace, [](auto& r) -> auto& { return r.person.face; });
    t.flag("female", "女", [](auto& r) -> auto& { return r.person.female; });
    t.flag("tactic_direct", "直接", [](auto& r) -> auto& { return r.person.tacticDirect; });
    t.flag("tactic_shooting", "射擊", [](auto& r) -> auto& { return r.person.tacticShooting; });
    t.flag("tactic_surprise", "奇襲", [](auto& r) -> auto& { return r.person.tacticSurprise; });
    t.flag("tactic_scheme", "計謀", [](auto& r) -> auto& { return r.person.tacticScheme; });

    // Changed elsewhere in the game (or by the control commands), never by the view.
    t.number("force", "", u("勢力"), 3, none, none, kByte, [](auto& r) -> auto& { return r.status.force; })
        .readOnly = true;
    t.choice("status", "身份", GetResTexts(300, 311), [](auto& r) -> auto& { return r.status.status; })
        .readOnly = true;
    t.number("city", "", u("都市"), 4, none, none, 4095, [](auto& r) -> auto& { return r.city; }).readOnly = true;
    t.flag("controlled", "擔當", [](auto& r) -> auto& { return r.status.controlled; }).readOnly = true;
    t.choice("rank", "階級", RankItems(), [](auto& r) -> auto& { return r.status.rank; });
    t.choice("health", "健康", GetResTexts(182, 189), [](auto& r) -> auto& { return r.status.health; });

    Field& skills = t.add("skills", u("特技"), FieldKind::Skills);
    skills.items = SkillBoxCaptions();
    skills.get = [](const OfficerRecord& r) {
        FieldValue v;
        for (int s = 0; s < kSkillCount; ++s)
            if (HasSkill(r.status.skills, s))
                v.list.push_back(s);
        return v;
    };
    skills.set = [](OfficerRecord& r, const FieldValue& v) {
        for (int s = 0; s < kSkillCount; ++s)
            SetSkill(r.status.skills, s, std::find(v.list.begin(), v.list.end(), s) != v.list.end());
    };

    Field& tactics = t.add("tactics", u("戰法"), FieldKind::Tactics);
    tactics.capacity = kTacticCount;
    tactics.items = GetResTexts(170, 176);
    tactics.get = [](const OfficerRecord& r) {
        FieldValue v;
        for (const int nibble : r.status.tactics)
            v.list.push_back(TacticLevel(nibble));
        return v;
    };
    // A level left as it was keeps its stored nibble (1..7 also show as "未").
    tactics.set = [](OfficerRecord& r, const FieldValue& v) {
        for (int k = 0; k < kTacticCount && k < int(v.list.size()); ++k) {
            int& nibble = r.status.tactics[k];
            if (v.list[k] != TacticLevel(nibble))
                nibble = v.list[k] >= kFirstRawTactic ? v.list[k] : ListIndexToNibble(v.list[k]);
        }
    };

    return std::move(t.fields);
}

}  // namespace

QStringList RankItems()
{
    QStringList items;
    for (int k = 0; k <= 8; ++k)
        items << GetResText(204 - k) + GetResText(272);
    items << GetResText(273);
    return items;
}

const std::vector<RecordField<OfficerRecord>>& OfficerFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<OfficerRecord>& OfficerField(const QString& key)
{
    const auto& fields = OfficerFields();
    const auto found = std::find_if(fields.begin(), fields.end(), [&](const Field& f) { return f.key == key; });
    if (found == fields.end())
        qFatal("no officer field %s", qPrintable(key));
    return *found;
}

std::optional<FieldProblem> OfficerStorageProblem(const OfficerRecord& record)
{
    const int entry = EntryYearToStore(record);
    if (entry > kByte)
        return FieldProblem{QStringLiteral("Text3(14)"),
                            FieldProblemMessage(QStringLiteral("仕官"), QStringLiteral("入仕年份不能晚於355年。"))};
    return std::nullopt;
}

}  // namespace varkel
