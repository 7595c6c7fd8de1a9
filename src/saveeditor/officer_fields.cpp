#include "saveeditor/officer_fields.h"

#include "shared/texts.h"

namespace varkel {

namespace {

constexpr int kByte = 255;
constexpr int kWord = 65535;

using Field = NumberField<OfficerRecord>;

std::vector<Field> buildFields()
{
    std::vector<Field> f;
    auto add = [&f](const QString& control, const QString& label, int digits, std::optional<int> lower,
                    std::optional<int> upper, int storable, std::function<int&(OfficerRecord&)> value) {
        f.push_back(Field{control, label, digits, lower, upper, storable, std::move(value)});
    };
    const auto none = std::nullopt;
    // Limits first, in the order they are applied.
    add("Text3(0)", "勇猛", 1, none, 7, 7, [](OfficerRecord& r) -> int& { return r.person.bravery; });
    add("Text3(1)", "冷靜", 1, none, 7, 7, [](OfficerRecord& r) -> int& { return r.person.calmness; });
    add("Text3(2)", "義理", 2, none, 15, 15, [](OfficerRecord& r) -> int& { return r.person.duty; });
    add("Text3(3)", "野心", 2, none, 15, 15, [](OfficerRecord& r) -> int& { return r.person.ambition; });
    add("Text3(4)", "行動", 3, none, 200, kByte, [](OfficerRecord& r) -> int& { return r.status.action; });
    add("Text3(5)", "親武將", 5, none, kWord, kWord, [](OfficerRecord& r) -> int& { return r.person.relatedOfficer; });
    add("Text3(6)", "家族", 5, none, kWord, kWord, [](OfficerRecord& r) -> int& { return r.person.familyNumber; });
    add("Text3(7)", "相性", 3, none, 150, kByte, [](OfficerRecord& r) -> int& { return r.person.compatibility; });
    add("Text3(8)", "出生", 3, 100, 355, 355, [](OfficerRecord& r) -> int& { return r.person.birthYear; });
    add("Text3(9)", "壽命", 1, none, 7, 7, [](OfficerRecord& r) -> int& { return r.status.lifespan; });
    add("Text3(15)", "忠誠", 3, none, 100, kByte, [](OfficerRecord& r) -> int& { return r.status.loyalty; });
    add("Text5(0)", "公元", 3, 100, 355, 355, [](OfficerRecord& r) -> int& { return r.date.year; });
    add("Text5(1)", "月", 2, none, 12, 15, [](OfficerRecord& r) -> int& { return r.date.month; });
    add("Text3(10)", "名聲", 5, none, 60000, kWord, [](OfficerRecord& r) -> int& { return r.status.fame; });
    add("Text3(11)", "惡名", 5, none, 60000, kWord, [](OfficerRecord& r) -> int& { return r.status.infamy; });
    add("Text3(12)", "功績", 5, none, 60000, kWord, [](OfficerRecord& r) -> int& { return r.status.merit; });
    // No limits of their own: only what the record can hold.
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("Text2(%1)").arg(i), GetResText(122 + i), 3, none, none, kByte,
            [i](OfficerRecord& r) -> int& { return r.person.abilities[i]; });
    add("Text3(16)", "金錢", 4, none, none, kWord, [](OfficerRecord& r) -> int& { return r.status.money; });
    add("Text3(14)", "仕官", 2, none, none, kWord, [](OfficerRecord& r) -> int& { return r.yearsOfService; });
    // Shown only.
    add("Text3(13)", "年齡", 3, none, none, 999, nullptr);
    return f;
}

}  // namespace

const std::vector<NumberField<OfficerRecord>>& OfficerNumberFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

std::optional<FieldProblem> OfficerStorageProblem(const OfficerRecord& record)
{
    const int entry = EntryYearByte(record.date.year, record.yearsOfService, record.status.entryYearByte);
    if (entry > kByte)
        return FieldProblem{QStringLiteral("Text3(14)"),
                            FieldProblemMessage(QStringLiteral("仕官"), QStringLiteral("入仕年份不能晚於355年。"))};
    return std::nullopt;
}

}  // namespace varkel
