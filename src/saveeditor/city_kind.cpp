#include "saveeditor/city_kind.h"

#include "saveeditor/officer_record.h"
#include "shared/bytes.h"

namespace varkel {

using namespace city;

namespace {

constexpr qsizetype kStatusWordSize = 2;

const QStringList kTextKeys = {QStringLiteral("city_name"), QStringLiteral("corps_commander"),
                               QStringLiteral("force_text"), QStringLiteral("head_name"),
                               QStringLiteral("bandit_leader_name")};

// The codec's refusal names the field by its caption; the command line names it by its key too.
FieldProblem keyed(FieldProblem problem)
{
    for (const auto& field : CityFields()) {
        if (problem.message.contains(QStringLiteral("「%1」").arg(field.label))) {
            problem.reason = problem.message;
            problem.message = field.key + QStringLiteral(": ") + problem.message.section(QLatin1Char('\n'), -1);
            break;
        }
    }
    return problem;
}

}  // namespace

CityKind::CityKind(QStringList cityNames)
    : TableKind(QStringLiteral("cities"), QStringLiteral("city"), CityFields()), cityNames_(std::move(cityNames))
{
}

void CityKind::loaded()
{
    tables_ = SaveTables::build(file());
}

CityKind::Decoded CityKind::decoded(int n) const
{
    Decoded d{CityHeads::build(file(), tables_.officerCount), CityOfficersOf(file(), tables_.officerCount, n), {}};
    d.record = DecodeCity(file(), d.heads, d.officers, n);
    return d;
}

QString CityKind::recordName(int n) const
{
    return cityNames_.value(n);
}

std::vector<std::pair<QString, QString>> CityKind::namedTexts(int n) const
{
    const Decoded d = decoded(n);
    const CityRecord& r = d.record;
    std::vector<std::pair<QString, QString>> texts;
    if (!cityNames_.isEmpty())
        texts.emplace_back(kTextKeys[0], cityNames_.value(n));
    // No corps reads as none; a corps code outside the list names nobody.
    const bool inList = r.corps >= 0 && r.corps < kCorpsCount;
    const int commander = inList ? d.heads.corps[std::size_t(r.corps)].commander : -1;
    texts.emplace_back(kTextKeys[1], inList || r.corps == kNoCorps ? tables_.officerText(commander, -1) : QString());
    texts.emplace_back(kTextKeys[2], tables_.forceName(r.force));
    texts.emplace_back(kTextKeys[3], tables_.officerText(r.head, -1));
    texts.emplace_back(kTextKeys[4], tables_.officerText(r.leader, kNoLeader));
    return texts;
}

QStringList CityKind::namedTextKeys() const
{
    return kTextKeys;
}

QString CityKind::namedTextCaption(const QString& key) const
{
    if (key == kTextKeys[0])
        return QStringLiteral("都市名稱");
    if (key == kTextKeys[1])
        return QStringLiteral("軍團長");
    return TableKind::namedTextCaption(key);
}

std::optional<FieldProblem> CityKind::store(int n, CityRecord& r, const Changes&)
{
    if (auto problem = StoreCity(file(), tables_.officerCount, n, r))
        return keyed(*problem);
    return std::nullopt;
}

std::vector<RecordKind::Extent> CityKind::extents(int n) const
{
    std::vector<Extent> where = {{record(n), save::kCityRecordSize}};
    for (const int officer : CityOfficersOf(file(), tables_.officerCount, n).candidates)
        where.push_back({save::statusBlock(officer) + save::status::kWord, kStatusWordSize});
    return where;
}

std::vector<RecordKind::Finding> CityKind::check() const
{
    std::vector<Finding> found;
    checkEach(found, [&](int c, const FindingSink& add) {
        const Decoded d = decoded(c);
        const CityRecord& r = d.record;
        if (r.corps > kNoCorps)
            add("corps", record(c) + kCorps, r.corps,
                QStringLiteral("corps above 68: no corps holds the city; kept as stored"),
                QStringLiteral("軍團編號 %1 大於 68：沒有軍團持有此都市，照原值保留。").arg(r.corps));
        else if (r.corps != kNoCorps && d.heads.corps[std::size_t(r.corps)].commander < 0)
            add("corps", record(c) + kCorps, r.corps,
                QStringLiteral("no ruler or corps commander stays in a city of this corps, so the city has no force"),
                QStringLiteral("軍團 %1 的君主或軍團長都不在此軍團的都市，所以此都市沒有勢力。").arg(r.corps));
        if (r.leader > kNoLeader) {
            // The game would take the number for an officer's: the mend stores none, as the
            // view does for a city without a leader.
            FindingMend none;
            none.changes.values[*fieldIndex(QStringLiteral("bandit_leader"))] = FieldValue{kNoLeader, {}, {}};
            none.text = QStringLiteral("把盜賊首領改為 %1（無首領）。").arg(kNoLeader);
            add("bandit_leader", record(c) + kBanditLeader, r.leader, QStringLiteral("bandit leader above 1720"),
                QStringLiteral("盜賊首領編號 %1 大於 1720，不是任何武將。").arg(r.leader))
                .mend = std::move(none);
        }
        if (!d.officers.candidates.empty() && d.officers.head < 0)
            add("head", record(c), d.officers.head,
                QStringLiteral("officers serve here (%1 of them), none a ruler, corps commander or governor: the city "
                               "has no head")
                    .arg(d.officers.candidates.size()),
                QStringLiteral("有 %1 名武將在此任職，卻沒有君主、軍團長或太守：此都市沒有太守。")
                    .arg(d.officers.candidates.size()));
    });
    // An officer placed outside the cities serves in none of them.
    for (int n = 0; n < tables_.officerCount; ++n) {
        const int status = DecodeStatusBlock(file(), save::statusBlock(n)).status;
        const int place = le16At(file(), save::locationEntry(n)) >> 4;
        if (status <= kOrdinary && place >= kCount && byteAt(file(), save::locationEntry(n) + kLocationAway) == 0)
            found.push_back({-1, QStringLiteral("location"), save::locationEntry(n), place,
                             QStringLiteral("officer %1 %2 serves (status %3) and stays at city %4, outside the 50 "
                                            "cities: it heads no city")
                                 .arg(n)
                                 .arg(tables_.officerNames[n])
                                 .arg(status)
                                 .arg(place),
                             QStringLiteral("武將 %1 %2 在職（身份碼 %3），卻停留在 50 個都市以外的都市 %4：不是任何"
                                            "都市的太守。")
                                 .arg(n)
                                 .arg(tables_.officerNames[n])
                                 .arg(status)
                                 .arg(place),
                             std::nullopt});
    }
    return found;
}

}  // namespace varkel
