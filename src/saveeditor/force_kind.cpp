#include "saveeditor/force_kind.h"

#include "saveeditor/save_tables.h"

namespace varkel {

namespace {

const QString kForceText = QStringLiteral("force_text");
const QString kRankText = QStringLiteral("rank_text");

}  // namespace

ForceKind::ForceKind(QStringList rankNames) : rankNames_(std::move(rankNames))
{
    for (const auto& field : ForceFields()) {
        fields_.push_back(&field);
        specs_.push_back(&field);
    }
}

void ForceKind::load(QByteArray& file)
{
    save_ = &file;
    forceNames_ = SaveTables::build(file).forceNames;
}

QString ForceKind::recordName(int n) const
{
    return DecodeForce(*save_, n).name;
}

std::vector<FieldValue> ForceKind::read(int n) const
{
    const ForceRecord r = DecodeForce(*save_, n);
    std::vector<FieldValue> values;
    values.reserve(fields_.size());
    for (const auto* field : fields_)
        values.push_back(field->get(r));
    return values;
}

std::vector<std::pair<QString, QString>> ForceKind::namedTexts(int n) const
{
    std::vector<std::pair<QString, QString>> texts = {{kForceText, forceNames_.value(n)}};
    if (!rankNames_.isEmpty())
        texts.emplace_back(kRankText, rankNames_.value(DecodeForce(*save_, n).rank()));
    return texts;
}

QStringList ForceKind::namedTextKeys() const
{
    return {kForceText, kRankText};
}

std::optional<FieldProblem> ForceKind::write(int n, const std::map<std::size_t, FieldValue>& changes)
{
    // The name was read as the field reads names: double-byte characters, seven at most.
    ForceRecord r = DecodeForce(*save_, n);
    for (const auto& [i, value] : changes)
        fields_[i]->set(r, value);
    EncodeForce(*save_, n, r);
    return std::nullopt;
}

std::vector<RecordKind::Extent> ForceKind::extents(int n) const
{
    return {{force::record(n), save::kForceRecordSize}};
}

}  // namespace varkel
