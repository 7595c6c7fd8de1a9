#include "saveeditor/member_checks.h"

#include "saveeditor/biography.h"
#include "saveeditor/save_layout.h"
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
            add("tactics", start + member::kStatusPart + save::status::kTactics + t / 2, nibble,
                QStringLiteral("tactic %1 has nibble %2, which is no level").arg(t).arg(nibble));
    }
    if (r.strategicTendency >= kStrategicTendencyCount)
        add("strategic_tendency", start + member::kTendencies, r.strategicTendency,
            QStringLiteral("strategic tendency %1, outside its list").arg(r.strategicTendency));
    if (r.aspiration >= kFirstOddAspiration)
        add("aspiration", start + member::kOutlook, r.aspiration, QStringLiteral("aspiration 5..7"));
    if (r.person.face >= kFaceCount)
        add("face", start + save::person::kFace, r.person.face, QStringLiteral("face beyond the bank"));
}

void CheckBiography(const QString& text, qsizetype start, const FindingSink& add, const QString& where)
{
    QString characters = text;
    characters.remove(QLatin1Char(biography::kLineBreak));
    if (characters.size() > biography::kCapacity)
        add("biography", start, characters.size(),
            QStringLiteral("more than %1 characters, which a changed biography cannot hold").arg(biography::kCapacity) +
                where);
    else if (!std::all_of(characters.begin(), characters.end(), IsDoubleByteChar))
        add("biography", start, characters.size(),
            QStringLiteral("a character that is no double-byte one, which a changed biography cannot hold") + where);
}

}  // namespace varkel
