#include "saveeditor/relation_kind.h"

#include "saveeditor/save_tables.h"
#include "shared/bytes.h"

namespace varkel {

using namespace relation;

namespace {

const QString kTypeKey = QStringLiteral("type");
const QStringList kNameKeys = {QStringLiteral("a_name"), QStringLiteral("b_name"), QStringLiteral("c_name")};

quint32 storedValue(const QByteArray& save, qsizetype at)
{
    return quint32(le16At(save, at)) | quint32(le16At(save, at + 2)) << 16;
}

FieldProblem problem(const FieldSpec& field, const QString& why, const QString& reason)
{
    return FieldProblem{field.control, field.key + QStringLiteral(": ") + why, reason};
}

}  // namespace

RelationKind::RelationKind() : TableKind(QStringLiteral("relations"), QStringLiteral("relation"), RelationFields()) {}

void RelationKind::loaded()
{
    tables_ = SaveTables::build(file());
}

QString RelationKind::recordName(int n) const
{
    const Relation r = decode(n);
    const QString type = ChoiceText(RelationField(kTypeKey), r.kind);
    if (r.kind == kNone)
        return type;
    return tables_.officerText(r.a, kNoParty) + QLatin1Char(' ') + type + QLatin1Char(' ') +
           tables_.officerText(r.b, kNoParty);
}

std::vector<std::pair<QString, QString>> RelationKind::namedTexts(int n) const
{
    const Relation r = decode(n);
    const int parties[] = {r.a, r.b, r.c};
    std::vector<std::pair<QString, QString>> texts;
    for (int p = 0; p < 3; ++p)
        texts.emplace_back(kNameKeys[p], tables_.officerText(parties[p], kNoParty));
    return texts;
}

QStringList RelationKind::namedTextKeys() const
{
    return kNameKeys;
}

std::optional<FieldProblem> RelationKind::store(int n, Relation& r, const Changes& changes)
{
    for (const auto& [i, value] : changes) {
        const auto& field = *table()[i];
        // A new party is an officer of this save, or none.
        if (field.key != kTypeKey && value.number != kNoParty && value.number >= tables_.officerCount)
            return problem(field,
                           QStringLiteral("%1 is no officer of this save, which has %2 (1023 for none)")
                               .arg(value.number)
                               .arg(tables_.officerCount),
                           QStringLiteral("%1 %2 不是本存檔的武將（共 %3 名）。")
                               .arg(field.label)
                               .arg(value.number)
                               .arg(tables_.officerCount));
    }
    // What is stored empty keeps neither parties nor a type: a change it would lose
    // is refused rather than dropped.
    if (StoresEmpty(r)) {
        for (const auto& [i, value] : changes) {
            const auto& field = *table()[i];
            if (value.number != (field.key == kTypeKey ? kNone : kNoParty))
                return problem(field,
                               QStringLiteral("the record would be stored empty (type ──, or 甲方 or 乙方 "
                                              "1023), which keeps no parties; give the type and both parties"),
                               QStringLiteral("關系為「──」或缺少甲方、乙方時，存檔只能存為空白，無法保留所選的"
                                              "人物。請選擇關系並指定甲乙雙方。"));
        }
    } else if (r.a >= tables_.officerCount) {
        for (const auto& [i, value] : changes)
            if (table()[i]->key == kTypeKey)
                return problem(*table()[i],
                               QStringLiteral("甲方 is stored as %1, no officer of this save, so the "
                                              "record has no type; set a as well")
                                   .arg(r.a),
                               QStringLiteral("甲方存為 %1，不是本存檔的武將，所以這筆關系沒有種類。請同時指定甲方。")
                                   .arg(r.a));
    }
    StoreRelation(file(), tables_.officerCount, n, r);
    return std::nullopt;
}

std::vector<RecordKind::Extent> RelationKind::extents(int n) const
{
    std::vector<Extent> copies;
    for (int copy = 0; copy < kCopyCount; ++copy)
        copies.push_back({record(n, copy), kRecordSize});
    return copies;
}

std::vector<RecordKind::Finding> RelationKind::check() const
{
    std::vector<Finding> found;
    const char* const keys[] = {"a", "b", "c"};
    checkEach(found, [&](int i, const FindingSink& add) {
        if (const auto copies = DisagreeingRelationCopies(file(), i); !copies.empty()) {
            QStringList numbers;
            for (const int copy : copies)
                numbers << QString::number(copy);
            const qsizetype at = record(i, copies.front());
            FindingMend align;
            align.changes.alignCopies = true;
            align.text = QStringLiteral("把副本 0 的關係寫入全部八份副本。");
            add("copies", at, storedValue(file(), at),
                QStringLiteral(
                    "%1 %2 %3 from copy 0, the one the views show; storing the record writes all eight alike")
                    .arg(copies.size() > 1 ? QStringLiteral("copies") : QStringLiteral("copy"),
                         numbers.join(QStringLiteral(", ")),
                         copies.size() > 1 ? QStringLiteral("differ") : QStringLiteral("differs")),
                QStringLiteral("副本 %1 與畫面顯示的副本 0 不同；存入此關係時八份副本會寫成一樣。")
                    .arg(numbers.join(QStringLiteral("、"))))
                .mend = std::move(align);
        }
        const Relation r = decode(i);
        const int parties[] = {r.a, r.b, r.c};
        for (int p = 0; p < 3; ++p) {
            if (parties[p] == kNoParty || parties[p] < tables_.officerCount)
                continue;
            const QString& caption = table()[std::size_t(p)]->label;
            // The game would read the number as an officer's; with no party in its
            // place a record without both parties is stored empty, as the view stores it.
            Relation mended = r;
            int* const party[] = {&mended.a, &mended.b, &mended.c};
            *party[p] = kNoParty;
            FindingMend none;
            none.changes.values[std::size_t(p)] = FieldValue{kNoParty, {}, {}};
            none.text = QStringLiteral("把%1改為 %2（無）").arg(caption).arg(kNoParty) +
                        (StoresEmpty(mended) ? QStringLiteral("，此關係存為空白。") : QStringLiteral("。"));
            add(keys[p], record(i), parties[p],
                QStringLiteral("%1 is not below the %2 officers: shown without face or name, kept as stored")
                    .arg(caption)
                    .arg(tables_.officerCount),
                QStringLiteral("%1 %2 不是本存檔的武將（共 %3 名）：顯示時沒有頭像和名字，照原值保留。")
                    .arg(caption)
                    .arg(parties[p])
                    .arg(tables_.officerCount))
                .mend = std::move(none);
        }
    });
    return found;
}

std::optional<FieldProblem> RelationKind::alignCopies(int n)
{
    AlignRelationCopies(file(), n);
    return std::nullopt;
}

}  // namespace varkel
