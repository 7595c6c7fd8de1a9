#include "saveeditor/save_record_kinds.h"

#include "saveeditor/officer_fields.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/picture_banks.h"
#include "shared/texts.h"

namespace varkel {

namespace {

constexpr int kLeaderStatus = 0;
constexpr int kChieftainStatus = 5;
constexpr int kStatusCount = 12;
constexpr int kRankCount = 10;
constexpr int kFirstOddTactic = 14;

}  // namespace

OfficerKind::OfficerKind(QStringList cityNames) : cityNames_(std::move(cityNames))
{
    // The game date belongs to the file and the age is worked out: neither is a
    // field of one officer's record.
    for (const auto& field : OfficerFields()) {
        if (!field.get || !field.perRecord)
            continue;
        fields_.push_back(&field);
        specs_.push_back(&field);
    }
}

void OfficerKind::load(QByteArray& file)
{
    file_ = &file;
    tables_ = SaveTables::build(file);
    decodedNumber_ = -1;
}

const OfficerRecord& OfficerKind::decoded(int n) const
{
    if (n != decodedNumber_) {
        decoded_ = DecodeOfficer(*file_, n);
        decodedNumber_ = n;
    }
    return decoded_;
}

QString OfficerKind::recordName(int n) const
{
    return ReadFullName(*file_, save::personBlock(n));
}

std::vector<FieldValue> OfficerKind::read(int n) const
{
    const OfficerRecord& r = decoded(n);
    std::vector<FieldValue> values;
    values.reserve(fields_.size());
    for (const auto* field : fields_)
        values.push_back(field->get(r));
    return values;
}

std::vector<std::pair<QString, QString>> OfficerKind::namedTexts(int n) const
{
    const OfficerRecord& r = decoded(n);
    std::vector<std::pair<QString, QString>> texts = {{QStringLiteral("force_text"), tables_.forceName(r.status.force)}};
    if (!cityNames_.isEmpty())
        texts.emplace_back(QStringLiteral("city_text"),
                           r.city < cityNames_.size() ? cityNames_[r.city] : QString::number(r.city));
    return texts;
}

std::optional<FieldProblem> OfficerKind::write(int n, const std::map<std::size_t, FieldValue>& changes)
{
    OfficerRecord r = DecodeOfficer(*file_, n);
    bool renamed = false;
    for (const auto& [i, value] : changes) {
        fields_[i]->set(r, value);
        renamed = renamed || fields_[i]->key == QLatin1String("surname") || fields_[i]->key == QLatin1String("given_name");
    }
    // As in the view, the full name follows the surname and given name.
    if (renamed)
        r.person.fullName = r.person.surname + r.person.givenName;
    if (r.person.fullName.isEmpty())
        return FieldProblem{QStringLiteral("Text1(4)"), FieldProblemMessage(QStringLiteral("姓名"), QStringLiteral("不能為空。"))};
    if (auto problem = OfficerStorageProblem(r))
        return problem;
    EncodeOfficer(*file_, n, r);
    decodedNumber_ = -1;
    if (renamed)
        tables_ = SaveTables::build(*file_);
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
    std::vector<Finding> found = CheckSaveStructure(*file_);
    for (int n = 0; n < count(); ++n) {
        const OfficerRecord r = DecodeOfficer(*file_, n);
        const qsizetype status = save::statusBlock(n);
        auto add = [&](const char* field, qsizetype offset, int value, const QString& what) {
            found.push_back({n, QString::fromLatin1(field), offset, value, what});
        };
        for (int t = 0; t < kTacticCount; ++t)
            if (r.status.tactics[t] >= kFirstOddTactic)
                add("tactics", status + save::status::kTactics + t / 2, r.status.tactics[t],
                    QStringLiteral("tactic %1 has nibble %2, which is no level").arg(t).arg(r.status.tactics[t]));
        if (r.city >= ScenarioData::kCityCount)
            add("city", save::locationEntry(n), r.city, QStringLiteral("city above 50"));
        if (r.status.force >= save::kForceNameCount)
            add("force", status + save::status::kForce, r.status.force, QStringLiteral("force above 68"));
        if (r.status.status >= kStatusCount)
            add("status", status + save::status::kWord, r.status.status, QStringLiteral("status code 12..15"));
        if (r.status.rank >= kRankCount)
            add("rank", status + save::status::kWord, r.status.rank, QStringLiteral("rank code 10..15"));
        if (r.person.face >= kFaceCount)
            add("face", save::personBlock(n) + save::person::kFace, r.person.face, QStringLiteral("face beyond the bank"));
    }
    return found;
}

std::vector<RecordKind::Finding> CheckSaveStructure(const QByteArray& save)
{
    std::vector<RecordKind::Finding> found;
    if (save.size() < save::kSlotMinimumSize) {
        found.push_back({-1, QStringLiteral("size"), 0, save.size(),
                         QStringLiteral("shorter than %1 bytes: the editor refuses it").arg(save::kSlotMinimumSize)});
        return found;
    }
    const int count = SaveTables::countOfficers(save);
    for (int u = save::kFirstPersonNumber; u <= save::kLastPersonNumber; ++u) {
        const int officer = le16At(save, save::personMapEntry(u));
        if (officer != save::kNoPerson && officer >= count)
            found.push_back({-1, QStringLiteral("person_map"), save::personMapEntry(u), officer,
                             QStringLiteral("person %1 names officer %2, beyond the %3 officers").arg(u).arg(officer).arg(count)});
    }
    for (int k = 0; k < save::kPlayerSlotCount; ++k) {
        const qsizetype at = save::playerSlot(k) + save::kPlayerPersonField;
        const int person = le16At(save, at);
        if (person != save::kNoPerson && (person < save::kFirstPersonNumber || person > save::kLastPersonNumber))
            found.push_back({-1, QStringLiteral("player_slot"), at, person,
                             QStringLiteral("player slot %1 holds person %2, outside 860..1719").arg(k).arg(person)});
    }
    return found;
}

SaveTablesKind::SaveTablesKind()
{
    own_ = {FieldSpec{}, FieldSpec{}, FieldSpec{}};
    own_[0].key = QStringLiteral("count");
    own_[1].key = QStringLiteral("officer");
    own_[2].key = QStringLiteral("name");
    own_[2].kind = FieldKind::Name;
    for (FieldSpec& f : own_) {
        f.readOnly = true;
        specs_.push_back(&f);
    }
}

void SaveTablesKind::load(QByteArray& file)
{
    tables_ = SaveTables::build(file);
    leaders_.assign(save::kForceNameCount, -1);
    for (int i = 0; i < tables_.officerCount; ++i) {
        const StatusBlock s = DecodeStatusBlock(file, save::statusBlock(i));
        if ((s.status == kLeaderStatus || s.status == kChieftainStatus) && s.force < save::kForceNameCount)
            leaders_[s.force] = i;
    }
}

int SaveTablesKind::count() const
{
    return 1 + save::kForceNameCount + save::kPlayerSlotCount;
}

std::pair<QString, int> SaveTablesKind::place(int n) const
{
    if (n == 0)
        return {QStringLiteral("officer_count"), 0};
    if (n <= save::kForceNameCount)
        return {QStringLiteral("force_leader"), n - 1};
    return {QStringLiteral("controlled_slot"), n - 1 - save::kForceNameCount};
}

QString SaveTablesKind::recordKind(int n) const
{
    return place(n).first;
}

QString SaveTablesKind::recordName(int n) const
{
    return read(n)[2].text;
}

std::vector<FieldValue> SaveTablesKind::read(int n) const
{
    const auto [table, k] = place(n);
    FieldValue countValue, officer, name;
    countValue.absent = officer.absent = true;
    if (table == QLatin1String("officer_count")) {
        countValue = FieldValue{tables_.officerCount, {}, {}};
        name.absent = true;
    } else if (table == QLatin1String("force_leader")) {
        name.text = tables_.forceNames[k];
        if (leaders_[k] >= 0)
            officer = FieldValue{leaders_[k], {}, {}};
    } else {
        const int m = tables_.controlled[k];
        if (m != save::kNoControlledOfficer) {
            officer = FieldValue{m, {}, {}};
            name.text = tables_.officerNames[m];
        }
    }
    return {countValue, officer, name};
}

std::optional<FieldProblem> SaveTablesKind::write(int, const std::map<std::size_t, FieldValue>&)
{
    return FieldProblem{{}, QStringLiteral("the derived tables follow the officers and are not written")};
}

}  // namespace varkel
