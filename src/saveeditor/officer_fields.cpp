#include "saveeditor/officer_fields.h"

#include "person/person_fields.h"
#include "shared/texts.h"

namespace varkel {

namespace {

using namespace person_fields;
using Field = RecordField<OfficerRecord>;

std::vector<Field> buildFields()
{
    FieldTable<OfficerRecord> t;
    const auto none = std::nullopt;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    AddNames(t);

    // Number boxes, limits first, in the order they are applied.
    AddTemper(t);
    t.number("action", "Text3(4)", u("行動"), 3, none, 200, kByte, [](auto& r) -> auto& { return r.status.action; });
    AddRelations(t, {"Text3(5)", "Text3(6)", "Text3(7)"});
    AddBirthYear(t);
    t.number("lifespan", "Text3(9)", u("壽命"), 1, none, 7, 7, [](auto& r) -> auto& { return r.status.lifespan; });
    t.number("loyalty", "Text3(15)", u("忠誠"), 3, none, 100, kByte, [](auto& r) -> auto& { return r.status.loyalty; });
    // The game date is edited with every officer but belongs to the whole file.
    const auto year = [](auto& r) -> auto& { return r.date.year; };
    const auto month = [](auto& r) -> auto& { return r.date.month; };
    t.number("game_year", "Text5(0)", u("公元"), 3, 100, 355, 355, year).perRecord = false;
    t.number("game_month", "Text5(1)", u("月"), 2, none, 12, 15, month).perRecord = false;
    t.number("fame", "Text3(10)", u("名聲"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.fame; });
    t.number("infamy", "Text3(11)", u("惡名"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.infamy; });
    t.number("merit", "Text3(12)", u("功績"), 5, none, 60000, kWord, [](auto& r) -> auto& { return r.status.merit; });
    AddAbilities(t);
    // No limits of their own: only what the record can hold.
    t.number("money", "Text3(16)", u("金錢"), 5, none, none, kWord, [](auto& r) -> auto& { return r.status.money; });
    t.number("years_of_service", "Text3(14)", u("仕官"), 2, none, none, kWord,
             [](auto& r) -> auto& { return r.yearsOfService; });
    // Shown only, worked out from the birth year.
    t.add("age", u("年齡"), FieldKind::Number).control = QStringLiteral("Text3(13)");

    AddFaceAndFlags(t);

    // Changed elsewhere in the game (or by the control commands), never by the view.
    const auto force = [](auto& r) -> auto& { return r.status.force; };
    const auto status = [](auto& r) -> auto& { return r.status.status; };
    t.number("force", "", u("勢力"), 3, none, none, kByte, force).readOnly = true;
    t.choice("status", "身份", GetResTexts(Text::Statuses), status).readOnly = true;
    t.number("city", "", u("都市"), 4, none, none, 4095, [](auto& r) -> auto& { return r.city; }).readOnly = true;
    t.flag("controlled", "擔當", [](auto& r) -> auto& { return r.status.controlled; }).readOnly = true;
    t.choice("rank", "階級", RankItems(), [](auto& r) -> auto& { return r.status.rank; });
    t.choice("health", "健康", GetResTexts(Text::HealthStates), [](auto& r) -> auto& { return r.status.health; });

    AddSkillsAndTactics(
        t, [](auto& r) -> auto& { return r.status.skills; }, [](auto& r) -> auto& { return r.status.tactics; });
    return std::move(t.fields);
}

}  // namespace

QStringList RankItems()
{
    QStringList items;
    for (int k = 0; k <= 8; ++k)
        items << GetResText(Text::NumeralNine - k) + GetResText(Text::RankGrade);
    items << GetResText(Text::NoRank);
    return items;
}

const std::vector<RecordField<OfficerRecord>>& OfficerFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<OfficerRecord>& OfficerField(const QString& key)
{
    return FieldWithKey(OfficerFields(), key);
}

std::optional<FieldProblem> OfficerStorageProblem(const OfficerRecord& record)
{
    const int entry = EntryYearToStore(record);
    if (entry > person_fields::kByte)
        return FieldProblem{QStringLiteral("Text3(14)"),
                            FieldProblemMessage(QStringLiteral("仕官"), QStringLiteral("入仕年份不能晚於355年。"))};
    return std::nullopt;
}

}  // namespace varkel
