#include "saveeditor/force_kind.h"

#include "saveeditor/save_tables.h"

namespace varkel {

namespace {

const QString kForceText = QStringLiteral("force_text");
const QString kRankText = QStringLiteral("rank_text");

}  // namespace

ForceKind::ForceKind(QStringList rankNames)
    : TableKind(QStringLiteral("forces"), QStringLiteral("force"), ForceFields()), rankNames_(std::move(rankNames))
{
}

void ForceKind::loaded()
{
    forceNames_ = SaveTables::build(file()).forceNames;
}

QString ForceKind::recordName(int n) const
{
    return decode(n).name;
}

std::vector<std::pair<QString, QString>> ForceKind::namedTexts(int n) const
{
    std::vector<std::pair<QString, QString>> texts = {{kForceText, forceNames_.value(n)}};
    if (!rankNames_.isEmpty())
        texts.emplace_back(kRankText, rankNames_.value(decode(n).rank()));
    return texts;
}

QStringList ForceKind::namedTextKeys() const
{
    return {kForceText, kRankText};
}

QString ForceKind::namedTextCaption(const QString& key) const
{
    return key == kForceText ? QStringLiteral("勢力名稱") : TableKind::namedTextCaption(key);
}

// The name was read as the field reads names: double-byte characters, seven at most.
std::optional<FieldProblem> ForceKind::store(int n, ForceRecord& r, const Changes&)
{
    EncodeForce(file(), n, r);
    return std::nullopt;
}

std::vector<RecordKind::Extent> ForceKind::extents(int n) const
{
    return {{force::record(n), save::kForceRecordSize}};
}

}  // namespace varkel
