#include "saveeditor/document_kinds.h"

#include "saveeditor/save_kinds.h"

namespace varkel {

namespace {

// "批次修改 860 名武將": the counting word goes with the kind.
QString BatchStepName(SaveRecord kind, std::size_t count)
{
    const char* counter = "筆";
    switch (kind) {
    case SaveRecord::Officer:
    case SaveRecord::Family:
    case SaveRecord::Control:
        counter = "名";
        break;
    case SaveRecord::City:
        counter = "座";
        break;
    case SaveRecord::Force:
        counter = "個";
        break;
    case SaveRecord::Treasure:
        counter = "件";
        break;
    case SaveRecord::Relation:
    case SaveRecord::Intimacy:
        break;
    }
    return QStringLiteral("批次修改 %1 %2%3").arg(count).arg(QString::fromUtf8(counter), SaveRecordCaption(kind));
}

}  // namespace

class DocumentKinds::Source : public RecordSource {
public:
    Source(DocumentKinds& kinds, SaveRecord kind) : kinds_(kinds), kind_(kind) {}

    Document& document() override { return kinds_.document_; }
    int documentKind() const override { return int(kind_); }
    const RecordKind& kind() override { return kinds_.kind(kind_); }
    BatchResult preview(const BatchRun& run) override { return kinds_.preview(kind_, run); }
    BatchResult apply(const std::vector<int>& records, const BatchRun& run) override
    {
        return kinds_.apply(kind_, records, run);
    }

private:
    DocumentKinds& kinds_;
    SaveRecord kind_;
};

DocumentKinds::DocumentKinds(SaveDocument& document, QStringList treasureNotes)
    : document_(document), treasureNotes_(std::move(treasureNotes))
{
}

DocumentKinds::~DocumentKinds() = default;

std::unique_ptr<RecordKind> DocumentKinds::make(SaveRecord kind, QByteArray* scenario) const
{
    const ScenarioData& s = document_.scenario();
    return MakeSaveKind(kind, {s.cityNames, s.courtRanks, treasureNotes_, std::nullopt, false}, scenario);
}

RecordKind& DocumentKinds::kind(SaveRecord kind)
{
    Bound& b = bound_[kind];
    // Copies of the document's buffers share its bytes, so binding costs nothing.
    if (!b.kind || b.revision != document_.revision()) {
        b.revision = document_.revision();
        b.save = document_.bytes();
        b.scenario = document_.scenario().bytes;
        if (!b.kind)
            b.kind = make(kind, &b.scenario);
        b.kind->load(b.save);
    }
    return *b.kind;
}

std::optional<FieldProblem> DocumentKinds::write(SaveRecord kind, int n, const RecordChanges& changes,
                                                 const SaveDocument::Edit& first)
{
    std::optional<FieldProblem> problem;
    const QString name = EditStepName(SaveRecordCaption(kind), this->kind(kind), n, changes);
    document_.apply(kind, {n}, name, [&](QByteArray& save, ScenarioData& scenario) {
        problem = writeInto(save, scenario, kind, n, changes, first);
        return !problem;
    });
    return problem;
}

bool DocumentKinds::differs(SaveRecord kind, int n, const RecordChanges& changes,
                            const SaveDocument::Edit& first) const
{
    if (changes.empty() && !first)
        return false;
    ScenarioData scenario = document_.scenario();
    QByteArray save = document_.bytes();
    return writeInto(save, scenario, kind, n, changes, first) || save != document_.bytes() ||
           scenario.bytes != document_.scenario().bytes;
}

std::optional<FieldProblem> DocumentKinds::writeInto(QByteArray& save, ScenarioData& scenario, SaveRecord kind, int n,
                                                     const RecordChanges& changes,
                                                     const SaveDocument::Edit& first) const
{
    if (first)
        first(save, scenario);
    const auto bound = make(kind, &scenario.bytes);
    bound->load(save);
    return StoreChanges(*bound, n, changes);
}

BatchResult DocumentKinds::preview(SaveRecord kind, const BatchRun& run)
{
    QByteArray save = document_.bytes();
    QByteArray scenario = document_.scenario().bytes;
    const auto copy = make(kind, &scenario);
    copy->load(save);
    return run(*copy, save);
}

BatchResult DocumentKinds::apply(SaveRecord kind, const std::vector<int>& records, const BatchRun& run)
{
    BatchResult result;
    document_.apply(
        kind, records, BatchStepName(kind, records.size()),
        [&](QByteArray& save, ScenarioData& scenario) {
            const auto bound = make(kind, &scenario.bytes);
            bound->load(save);
            result = run(*bound, save);
            return result.count(BatchOutcome::Result::Changed) > 0;
        },
        DocumentChange::Cause::Batch);
    return result;
}

BatchResult DocumentKinds::preview(SaveRecord kind, const std::vector<int>& records,
                                   const std::vector<Assignment>& assignments)
{
    return preview(kind, Assigning(records, assignments));
}

BatchResult DocumentKinds::apply(SaveRecord kind, const std::vector<int>& records,
                                 const std::vector<Assignment>& assignments)
{
    return apply(kind, records, Assigning(records, assignments));
}

RecordSource& DocumentKinds::source(SaveRecord kind)
{
    auto& source = sources_[kind];
    if (!source)
        source = std::make_unique<Source>(*this, kind);
    return *source;
}

}  // namespace varkel
