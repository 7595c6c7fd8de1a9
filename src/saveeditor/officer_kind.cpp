#include "saveeditor/officer_kind.h"

#include "person/member_checks.h"
#include "saveeditor/officer_fields.h"
#include "person/person_fields.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/picture_banks.h"

namespace varkel {

namespace {

constexpr int kStatusCount = 12;
constexpr int kRankCount = 10;
constexpr int kFirstOddTactic = 14;

}  // namespace

// The officers' table also holds the game date, which belongs to the file, and the
// age, which is worked out; neither is a field of one officer's record.
OfficerKind::OfficerKind(QStringList cityNames)
    : TableKind(QStringLiteral("officers"), QStringLiteral("officer"), OfficerFields()),
      cityNames_(std::move(cityNames))
{
}

void OfficerKind::loaded()
{
    tables_ = SaveTables::build(file());
    decodedNumber_ = -1;
}

const OfficerRecord& OfficerKind::decoded(int n) const
{
    if (n != decodedNumber_) {
        decoded_ = decode(n);
        decodedNumber_ = n;
    }
    return decoded_;
}

QString OfficerKind::recordName(int n) const
{
    return ReadFullName(file(), save::personBlock(n));
}

std::vector<FieldValue> OfficerKind::read(int n) const
{
    return valuesOf(decoded(n));
}

std::vector<std::pair<QString, QString>> OfficerKind::namedTexts(int n) const
{
    const OfficerRecord& r = decoded(n);
    std::vector<std::pair<QString, QString>> texts = {
        {QStringLiteral("force_text"), tables_.forceName(r.status.force)}};
    if (!cityNames_.isEmpty())
        texts.emplace_back(QStringLiteral("city_text"),
                           r.city < cityNames_.size() ? cityNames_[r.city] : QString::number(r.city));
    texts.emplace_back(QStringLiteral("related_officer_name"), tables_.officerText(r.person.relatedOfficer));
    texts.emplace_back(QStringLiteral("family_name"), tables_.officerText(r.person.familyNumber));
    return texts;
}

QStringList OfficerKind::namedTextKeys() const
{
    return {QStringLiteral("force_text"), QStringLiteral("city_text"), QStringLiteral("related_officer_name"),
            QStringLiteral("family_name")};
}

std::optional<FieldProblem> OfficerKind::store(int n, OfficerRecord& r, const Changes& changes)
{
    const bool renamed = person_fields::FullNameFollows(r, table(), changes);
    if (r.person.fullName.isEmpty())
        return FieldProblem{QStringLiteral("Text1(4)"),
                            FieldProblemMessage(QStringLiteral("姓名"), QStringLiteral("不能為空。"))};
    if (auto problem = OfficerStorageProblem(r))
        return problem;
    EncodeOfficer(file(), n, r);
    decodedNumber_ = -1;
    if (renamed)
        tables_ = SaveTables::build(file());
    return std::nullopt;
}

std::vector<RecordKind::Extent> OfficerKind::extents(int n) const
{
    return {{save::statusBlock(n), save::kStatusBlockSize},
            {save::locationEntry(n), save::kLocationSize},
            {save::personBlock(n), save::kPersonBlockSize}};
}

std::vector<RecordKind::Finding> OfficerKind::check() const
{
    std::vector<Finding> found = CheckSaveStructure(file());
    checkEach(found, [&](int n, const FindingSink& add) {
        const OfficerRecord r = decode(n);
        const qsizetype status = save::statusBlock(n);
        for (int t = 0; t < kTacticCount; ++t)
            if (r.status.tactics[t] >= kFirstOddTactic)
                add("tactics", status + person::kTactics + t / 2, r.status.tactics[t],
                    QStringLiteral("tactic %1 has nibble %2, which is no level").arg(t).arg(r.status.tactics[t]),
                    OddTacticReason(t, r.status.tactics[t]));
        if (r.city >= ScenarioData::kCityCount)
            add("city", save::locationEntry(n), r.city, QStringLiteral("city above 50"),
                QStringLiteral("都市編號 %1 不在 50 個都市之內，照原值保留。").arg(r.city));
        if (r.status.force >= save::kForceNameCount)
            add("force", status + save::status::kForce, r.status.force, QStringLiteral("force above 68"),
                QStringLiteral("勢力編號 %1 大於 68，不是任何勢力，照原值保留。").arg(r.status.force));
        if (r.status.status >= kStatusCount)
            add("status", status + save::status::kWord, r.status.status, QStringLiteral("status code 12..15"),
                QStringLiteral("身份碼 %1（12 至 15）不是任何身份，照原值保留。").arg(r.status.status));
        if (r.status.rank >= kRankCount)
            add("rank", status + save::status::kWord, r.status.rank, QStringLiteral("rank code 10..15"),
                QStringLiteral("官職碼 %1（10 至 15）不是任何官職，照原值保留。").arg(r.status.rank));
        if (r.person.face >= kFaceCount)
            add("face", save::personBlock(n) + person::kFace, r.person.face,
                QStringLiteral("face beyond the bank"), FaceBeyondBankReason(r.person.face));
    });
    return found;
}

std::vector<RecordKind::Finding> CheckSaveStructure(const QByteArray& save)
{
    std::vector<RecordKind::Finding> found;
    if (save.size() < save::kSlotMinimumSize) {
        found.push_back({-1, QStringLiteral("size"), 0, save.size(),
                         QStringLiteral("shorter than %1 bytes: the editor refuses it").arg(save::kSlotMinimumSize),
                         QStringLiteral("檔案短於 %1 位元組，編輯器不開啟它。").arg(save::kSlotMinimumSize),
                         std::nullopt});
        return found;
    }
    const int count = SaveTables::countOfficers(save);
    for (int u = save::kFirstPersonNumber; u <= save::kLastPersonNumber; ++u) {
        const int officer = le16At(save, save::personMapEntry(u));
        if (officer != save::kNoPerson && officer >= count)
            found.push_back(
                {-1, QStringLiteral("person_map"), save::personMapEntry(u), officer,
                 QStringLiteral("person %1 names officer %2, beyond the %3 officers").arg(u).arg(officer).arg(count),
                 QStringLiteral("人物 %1 指向武將 %2，超出本存檔的 %3 名武將。").arg(u).arg(officer).arg(count),
                 std::nullopt});
    }
    for (int k = 0; k < save::kPlayerSlotCount; ++k) {
        const qsizetype at = save::playerSlot(k) + save::kPlayerPersonField;
        const int person = le16At(save, at);
        if (person != save::kNoPerson && (person < save::kFirstPersonNumber || person > save::kLastPersonNumber))
            found.push_back({-1, QStringLiteral("player_slot"), at, person,
                             QStringLiteral("player slot %1 holds person %2, outside 860..1719").arg(k).arg(person),
                             QStringLiteral("玩家欄 %1 存的人物 %2 不在 860 至 1719 之內。").arg(k).arg(person),
                             std::nullopt});
    }
    return found;
}

}  // namespace varkel
