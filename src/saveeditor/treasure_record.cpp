#include "saveeditor/treasure_record.h"

#include "shared/big5.h"
#include "shared/bytes.h"
#include "shared/field_table.h"
#include "shared/name_field.h"
#include "shared/texts.h"

#include <algorithm>
#include <array>

namespace varkel {

using namespace treasure;

namespace {

constexpr int kByte = 255;
constexpr int kPictureCount = 80;
constexpr int kNoteCount = 80;

// The raised ability of each kind: horse, weapon, map, medicine, four kinds of
// books and essays, the seal, treasure, ornament.
constexpr std::array<int, kKindCount> kRaisedAbility = {kNoAbility, 0, kNoAbility, kNoAbility, 1,          1,
                                                        1,          2, 1,          3,          kNoAbility, kNoAbility};

using Field = RecordField<TreasureRecord>;

std::vector<Field> buildFields()
{
    FieldTable<TreasureRecord> t;
    const auto none = std::nullopt;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    t.name("name", "名稱", kNameCapacity, [](auto& r) -> auto& { return r.name; }).control = QStringLiteral("Text4(0)");
    t.choice("type", "種類", TreasureKindItems(), [](auto& r) -> auto& { return r.kind; });
    // Worked out from the kind, never stored.
    Field& raised = t.add("raised_ability", u("提升"), FieldKind::Choice);
    raised.items = RaisedAbilityItems();
    raised.readOnly = true;
    raised.get = [](const TreasureRecord& r) { return FieldValue{RaisedAbility(r.kind), {}, {}}; };
    // Stepped or typed in the view, which stores the picture shown.
    t.number("picture", "", u("圖片編號"), 2, none, none, kPictureCount - 1,
             [](auto& r) -> auto& { return r.picture; });
    // Shown and typed in whole coins, stored in hundreds.
    Field& price = t.number("price", "Text4(1)", u("價格"), 4, none, none, kByte * kPriceUnit + kPriceUnit - 1,
                            [](auto& r) -> auto& { return r.priceHundreds; });
    price.get = [](const TreasureRecord& r) { return FieldValue{r.priceHundreds * kPriceUnit, {}, {}}; };
    price.set = [](TreasureRecord& r, const FieldValue& v) { r.priceHundreds = v.number / kPriceUnit; };
    // 100 is what the seal shows whatever it stores, so 100 keeps the stored byte.
    Field& points =
        t.number("points", "Text4(2)", u("點數"), 3, none, none, kByte, [](auto& r) -> auto& { return r.points; });
    points.set = [](TreasureRecord& r, const FieldValue& v) {
        if (v.number != kSealPoints)
            r.points = v.number;
    };
    Field& skill = t.choice("skill", "特技", TreasureSkillItems(), [](auto& r) -> auto& { return r.skill; });
    skill.get = [](const TreasureRecord& r) { return FieldValue{SkillListIndex(r.skill), {}, {}}; };
    skill.set = [](TreasureRecord& r, const FieldValue& v) { r.skill = SkillByte(v.number); };
    // Chosen with the officer picker; belongs to the saved game.
    t.number("owner", "", u("所屬"), 4, none, none, kLastOwner, [](auto& r) -> auto& { return r.owner; });
    return std::move(t.fields);
}

}  // namespace

TreasureRecord DecodeTreasure(const QByteArray& scenario, const QByteArray* save, int t)
{
    const qsizetype r = record(t);
    TreasureRecord d;
    d.name = ReadNameField(scenario, r + kName, kNameLastSlot);
    d.kind = byteAt(scenario, r + kKind);
    d.picture = byteAt(scenario, r + kPicture);
    d.priceHundreds = byteAt(scenario, r + kPrice);
    d.points = byteAt(scenario, r + kPoints);
    d.skill = byteAt(scenario, r + kSkill);
    if (save)
        d.owner = le16At(*save, ownerEntry(t));
    return d;
}

void EncodeTreasure(QByteArray& scenario, QByteArray* save, int t, const TreasureRecord& record)
{
    const qsizetype r = treasure::record(t);
    if (ReadNameField(scenario, r + kName, kNameLastSlot) != record.name)
        WriteNameField(scenario, r + kName, record.name, kNameCapacity);
    setByte(scenario, r + kKind, record.kind);
    setByte(scenario, r + kPicture, record.picture);
    setByte(scenario, r + kPrice, record.priceHundreds);
    setByte(scenario, r + kPoints, record.points);
    setByte(scenario, r + kSkill, record.skill);
    if (save && record.owner >= 0)
        setLe16(*save, ownerEntry(t), record.owner);
}

int RaisedAbility(int kind)
{
    return kind >= 0 && kind < kKindCount ? kRaisedAbility[std::size_t(kind)] : kNoAbility;
}

int ShownPoints(int kind, int storedPoints)
{
    if (kind == kSealKind)
        return kSealPoints;
    // A kind outside the list has no rule: its stored points stay.
    if (kind < 0 || kind >= kKindCount)
        return storedPoints;
    return RaisedAbility(kind) == kNoAbility ? 0 : storedPoints;
}

int SkillListIndex(int skillByte)
{
    return skillByte == kNoSkillByte ? kNoSkillItem : skillByte;
}

int SkillByte(int listIndex)
{
    return listIndex == kNoSkillItem ? kNoSkillByte : listIndex;
}

int WrapPictureNumber(int n)
{
    if (n > kPictureCount - 1)
        n -= kPictureCount;
    if (n < 0)
        n += kPictureCount;
    return (n % kPictureCount + kPictureCount) % kPictureCount;
}

QStringList DecodeTreasureNotes(const QByteArray& stretch)
{
    const Big5& big5 = Big5::instance();
    QStringList notes(kNoteCount);
    int c = 0;
    qsizetype p = 0;
    const qsizetype size = std::min<qsizetype>(stretch.size(), kNotesSize);
    while (p < size && c < kNoteCount) {
        if (byteAt(stretch, p) == 0) {
            ++p;
            continue;
        }
        // A pair needs both its bytes inside the stretch.
        if (p + 1 >= size)
            break;
        const int code = byteAt(stretch, p) << 8 | byteAt(stretch, p + 1);
        p += 2;
        if (code == kNoteEnd)
            ++c;
        else if (code == kNoteLineFeed)
            notes[c] += QLatin1Char('\n');
        else
            big5.appendSlot(notes[c], static_cast<std::uint16_t>(code));
    }
    return notes;
}

const std::vector<RecordField<TreasureRecord>>& TreasureFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<TreasureRecord>& TreasureField(const QString& key)
{
    return FieldWithKey(TreasureFields(), key);
}

QStringList TreasureKindItems()
{
    return GetResTexts(Text::TreasureKinds);
}

QStringList RaisedAbilityItems()
{
    return GetResTexts(Text::Abilities) << GetResText(Text::Nothing);
}

QStringList TreasureSkillItems()
{
    return GetResTexts(Text::Skills.first, Text::Nothing);
}

}  // namespace varkel
