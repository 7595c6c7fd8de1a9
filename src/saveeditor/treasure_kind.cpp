#include "saveeditor/treasure_kind.h"

#include "saveeditor/save_tables.h"
#include "shared/picture_banks.h"

namespace varkel {

using namespace treasure;

namespace {

constexpr int kFirstOddSkill = kSkillItemCount;  // 27; 26 reads as "無" like 255

const QString kOwnerKey = QStringLiteral("owner");
const QString kOwnerText = QStringLiteral("owner_text");
const QString kNote = QStringLiteral("note");

}  // namespace

TreasureKind::TreasureKind(QByteArray* scenario, QStringList notes)
    : TableKind(QStringLiteral("treasures"), QStringLiteral("treasure"), TreasureFields()),
      companion_(scenario),
      notes_(std::move(notes))
{
}

void TreasureKind::loaded()
{
    if (ofSave()) {
        scenario_ = companion_;
        save_ = &file();
        tables_ = SaveTables::build(file());
    } else {
        scenario_ = &file();
    }
}

QString TreasureKind::recordName(int n) const
{
    return decode(n).name;
}

std::vector<FieldValue> TreasureKind::read(int n) const
{
    std::vector<FieldValue> values = TableKind::read(n);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i].absent = !ofSave() && table()[i]->key == kOwnerKey;
    return values;
}

std::vector<std::pair<QString, QString>> TreasureKind::namedTexts(int n) const
{
    const TreasureRecord r = decode(n);
    std::vector<std::pair<QString, QString>> texts;
    if (ofSave())
        texts.emplace_back(kOwnerText, tables_.officerText(r.owner));
    if (r.picture < notes_.size())
        texts.emplace_back(kNote, notes_[r.picture]);
    return texts;
}

QStringList TreasureKind::namedTextKeys() const
{
    return ofSave() ? QStringList{kOwnerText, kNote} : QStringList{kNote};
}

QString TreasureKind::namedTextCaption(const QString& key) const
{
    return key == kNote ? QStringLiteral("說明") : TableKind::namedTextCaption(key);
}

std::optional<FieldProblem> TreasureKind::store(int n, TreasureRecord& r, const Changes& changes)
{
    bool renamed = false;
    for (const auto& [i, value] : changes) {
        if (table()[i]->key == kOwnerKey && !ofSave())
            return FieldProblem{{},
                                QStringLiteral("owner: who owns a treasure is stored in each saved game, not in "
                                               "the scenario file")};
        renamed = renamed || table()[i]->key == QLatin1String("name");
    }
    // A name emptied is refused; one stored empty (a blank scenario file) stays
    // as it is while other fields change.
    if (renamed && r.name.isEmpty())
        return FieldProblem{QStringLiteral("Text4(0)"),
                            FieldProblemMessage(QStringLiteral("名稱"), QStringLiteral("不能為空。"))};
    EncodeTreasure(*scenario_, save_, n, r);
    return std::nullopt;
}

std::vector<QByteArray*> TreasureKind::alsoWritten() const
{
    if (ofSave())
        return {scenario_};
    return {};
}

std::vector<RecordKind::Extent> TreasureKind::extents(int n) const
{
    if (ofSave())
        return {{ownerEntry(n), kOwnerEntrySize}};
    return {{record(n), kRecordSize}};
}

std::vector<RecordKind::Finding> TreasureKind::check() const
{
    std::vector<Finding> found;
    // Read with a saved game, the attributes are the scenario file's: the finding says so.
    const QString where = ofSave() ? QStringLiteral(" (in d_sce.vk)") : QString();
    const QString inScenario = ofSave() ? QStringLiteral("（在 d_sce.vk 中）") : QString();
    checkEach(found, [&](int t, const FindingSink& add) {
        const TreasureRecord r = decode(t);
        if (r.kind >= kKindCount)
            add("type", record(t) + kKind, r.kind, QStringLiteral("kind above 11") + where,
                QStringLiteral("種類碼 %1 大於 11，不在清單內%2，照原值保留。").arg(r.kind).arg(inScenario));
        if (r.skill >= kFirstOddSkill && r.skill != kNoSkillByte)
            add("skill", record(t) + kSkill, r.skill, QStringLiteral("skill byte 27..254") + where,
                QStringLiteral("特技碼 %1（27 至 254）不在清單內%2，照原值保留。").arg(r.skill).arg(inScenario));
        if (r.picture >= kTreasurePictureCount)
            add("picture", record(t) + kPicture, r.picture, QStringLiteral("picture above 79") + where,
                QStringLiteral("圖片編號 %1 大於 79%2，沒有這張圖。").arg(r.picture).arg(inScenario));
        // No owner number is known to stand for none, so there is nothing safe to store instead.
        if (r.owner > kLastOwner)
            add("owner", ownerEntry(t), r.owner, QStringLiteral("owner above 1720"),
                QStringLiteral("所屬武將編號 %1 大於 1720，不是任何武將，照原值保留。").arg(r.owner));
    });
    return found;
}

}  // namespace varkel
