#include "person/member_checks.h"

#include "person/biography.h"
#include "person/person_layout.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"

#include <algorithm>

namespace varkel {

namespace {

constexpr int kFirstOddTactic = 14;
constexpr int kStrategicTendencyCount = 7;  // the list's texts 105..111
constexpr int kFirstOddAspiration = 5;

}  // namespace

FieldSpec BiographyField(const QString& control)
{
    FieldSpec field;
    field.key = QStringLiteral("biography");
    field.control = control;
    field.label = QStringLiteral("武將列傳");
    field.kind = FieldKind::Name;
    field.capacity = biography::kCapacity;
    field.lineBreaks = true;
    return field;
}

std::optional<FieldProblem> StoreBiography(QByteArray& buffer, qsizetype start, const FieldValue& text,
                                           const FieldSpec& field)
{
    const auto problem = EncodeBiography(buffer, start, text.text);
    if (!problem)
        return std::nullopt;
    return FieldProblem{
        field.control,
        field.key + QStringLiteral(": ") +
            FieldProblemMessage(field.label, BiographyProblemText(*problem)).section(QLatin1Char('\n'), -1)};
}

void CheckMemberRecord(const MemberRecord& r, qsizetype start, const FindingSink& add)
{
    for (int t = 0; t < kTacticCount; ++t) {
        const int nibble = r.tactics[std::size_t(t)];
        if (nibble >= kFirstOddTactic)
            add("tactics", start + member::kStatusPart + person::kTactics + t / 2, nibble,
                QStringLiteral("tactic %1 has nibble %2, which is no level").arg(t).arg(nibble),
                OddTacticReason(t, nibble));
    }
    if (r.strategicTendency >= kStrategicTendencyCount)
        add("strategic_tendency", start + member::kTendencies, r.strategicTendency,
            QStringLiteral("strategic tendency %1, outside its list").arg(r.strategicTendency),
            QStringLiteral("戰略傾向 %1 不在清單內，照原值保留。").arg(r.strategicTendency));
    if (r.aspiration >= kFirstOddAspiration)
        add("aspiration", start + member::kOutlook, r.aspiration, QStringLiteral("aspiration 5..7"),
            QStringLiteral("志向碼 %1（5 至 7）不在清單內，照原值保留。").arg(r.aspiration));
    if (r.person.face >= kFaceCount)
        add("face", start + person::kFace, r.person.face, QStringLiteral("face beyond the bank"),
            FaceBeyondBankReason(r.person.face));
}

void CheckBiography(const QString& text, qsizetype start, const FindingSink& add, const QString& file)
{
    const QString where = file.isEmpty() ? QString() : QStringLiteral(" (in %1)").arg(file);
    const QString inFile = file.isEmpty() ? QString() : QStringLiteral("（在 %1 中）").arg(file);
    QString characters = text;
    characters.remove(QLatin1Char(biography::kLineBreak));
    if (characters.size() > biography::kCapacity)
        add("biography", start, characters.size(),
            QStringLiteral("more than %1 characters, which a changed biography cannot hold").arg(biography::kCapacity) +
                where,
            QStringLiteral("列傳有 %1 個字，超過 %2 個字%3：照原樣保留，但改動後就存不回去。")
                .arg(characters.size())
                .arg(biography::kCapacity)
                .arg(inFile));
    else if (!std::all_of(characters.begin(), characters.end(), IsDoubleByteChar))
        add("biography", start, characters.size(),
            QStringLiteral("a character that is no double-byte one, which a changed biography cannot hold") + where,
            QStringLiteral("列傳%1含有不是雙位元組的字元：照原樣保留，但改動後就存不回去。").arg(inFile));
}

QString OddTacticReason(int t, int nibble)
{
    return QStringLiteral("第 %1 項戰法的等級碼是 %2，不是任何等級，照原值保留。").arg(t).arg(nibble);
}

QString FaceBeyondBankReason(int face)
{
    return QStringLiteral("頭像 %1 超出頭像庫，顯示為空白頭像。").arg(face);
}

}  // namespace varkel
