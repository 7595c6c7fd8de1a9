#include "saveeditor/document_kinds.h"

#include "saveeditor/save_kinds.h"

namespace varkel {

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
        kind, records,
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
