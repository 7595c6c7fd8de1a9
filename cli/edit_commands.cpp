// The commands that change a game file: set, apply and control.
#include "commands.h"
#include "files.h"
#include "reports.h"
#include "saveeditor/control.h"
#include "saveeditor/save_tables.h"
#include "shared/file_io.h"
#include "shared/record_batch.h"
#include "shared/record_import.h"
#include "shared/record_writer.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <sstream>

namespace varkel::cli {

namespace {

const std::string kOutputHelp =
    "write the result here instead of over FILE (refused when the edit changes another file too: the scenario "
    "or the biographies)";

// A complaint about what was typed, as CLI11 makes its own.
int usageError(std::ostream& err, const std::string& what)
{
    err << what << "\nRun with --help for more information.\n";
    return kRefused;
}

// Set and apply alike: FILE, the word that says what to change, the command's own
// options from `addOwn`, then where the result goes and how a saved game is read.
template <typename AddOwn>
void defineEdit(CLI::App& command, SharedOptions& shared, std::string& file, const std::string& what,
                std::string& whatValue, const std::string& whatHelp, AddOwn addOwn)
{
    command.add_option("FILE", file)->required();
    command.add_option(what, whatValue, whatHelp)->required();
    addOwn();
    shared.addOutput(command, kOutputHelp);
    shared.addDryRun(command, "show the changes, write nothing");
    shared.addGameFolder(command);
    shared.addSlot(command);
}

}  // namespace

void SetCommand::define(CLI::App& command, SharedOptions& shared)
{
    static const std::string kKindHelp =
        "officer, city, force, family_member, relation, intimacy (with --slot), treasure or new_officer";
    defineEdit(command, shared, file_, "KIND", kind_, kKindHelp, [&] {
        command.add_option("NUMBER", number_,
                           "the record's number as dump shows it (660..759 for a new officer, the "
                           "position for intimacy); left out with --where");
        command.add_option(
            "FIELD=VALUE", assignments_,
            "e.g. type=結義 a=12 for a relation, level=敬愛 (or 0..31) for intimacy, head=OFFICER for a city, "
            "technology=8 elephants=1 for a force. With --where a number field also takes FIELD=+N and "
            "FIELD=-N (or FIELD+=N, FIELD-=N), FIELD=*P% (a share, rounded), FIELD=min, FIELD=max (its "
            "limits) and FIELD=cap (up to the record's FIELD_cap, family children). Every number is clamped "
            "to its field's limits, or to the most the record holds (loyalty=200 stores 100, money=70000 "
            "65535), and the clamp is reported. Fields by key or caption: loyalty=+10, 忠誠=max");
        shared.addWhere(command, " (every record when empty); changes each record it picks, "
                                 "lists refusals on stderr, exits 2 when none could change");
    });
    command.add_flag("--by-officer", byOfficer_,
                     "NUMBER is the officer the record is about, not its position (intimacy: set SAVE intimacy 123 "
                     "level=敬愛 --slot 0 --by-officer)");
}

int SetCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    // NUMBER takes the first word after KIND; with --where that is an assignment.
    QStringList typed;
    if (options.where && !number_.empty())
        typed << QString::fromStdString(number_);
    for (const auto& a : assignments_)
        typed << QString::fromStdString(a);
    if (!options.where && number_.empty())
        return usageError(err, "NUMBER is required (or --where EXPR)");
    if (typed.isEmpty())
        return usageError(err, "FIELD=VALUE is required");
    int number = -1;
    if (!options.where) {
        bool isNumber = false;
        number = QString::fromStdString(number_).toInt(&isNumber);
        if (!isNumber)
            return usageError(err, "NUMBER: " + number_ + " is no record number");
    }

    const QString path = QString::fromStdString(file_), kindName = QString::fromStdString(kind_);
    FileStore files = WritingStore(options, err);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    RecordKind* kind = file->kind(kindName);
    if (!kind)
        return Refuse(err, path, NoKind(kindName, options));
    return options.where ? setWhere(options, files, *file, *kind, typed, out, err)
                         : setOne(options, files, *file, *kind, number, typed, out, err);
}

int SetCommand::setOne(const Options& options, FileStore& files, GameFile& file, RecordKind& kind, int number,
                       const QStringList& assignments, std::ostream& out, std::ostream& err) const
{
    const QString& path = file.path;
    int n = kind.recordOf(number);
    if (byOfficer_) {
        const auto about = kind.recordAbout(number);
        if (!about)
            return Refuse(err, path,
                          QStringLiteral("--by-officer: %1 records are not about other officers; give the "
                                         "record's number")
                              .arg(kind.name()));
        if (*about < 0)
            return Refuse(err, path, QStringLiteral("%1: no record is about officer %2").arg(kind.name()).arg(number));
        n = *about;
    }
    if (n < 0)
        return Refuse(err, path, NoSuchRecord(kind, number));
    std::vector<std::pair<QString, QString>> values;
    for (const QString& a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return Refuse(err, path, QStringLiteral("%1: FIELD=VALUE expected").arg(a));
        values.emplace_back(a.left(eq), a.mid(eq + 1));
    }
    // One rule for every number: clamped to its field's limits, else to the most it holds, and reported.
    const EditResult result = EditRecord(kind, file.bytes, n, values, BeyondStorable::Clamp);
    if (result.problem)
        return Refuse(err, path, *result.problem);
    if (result.changes.empty())
        return kDone;
    std::ostringstream report;
    PrintWritten(file, {{{&kind, n}, &result}}, true, report);
    return StoreEdit(files, file, options, report.str(), out, err);
}

int SetCommand::setWhere(const Options& options, FileStore& files, GameFile& file, RecordKind& kind,
                         const QStringList& assignments, std::ostream& out, std::ostream& err) const
{
    const QString& path = file.path;
    if (byOfficer_)
        return Refuse(err, path, QStringLiteral("--by-officer names one record; --where picks them by their values"));
    const auto filter = ReadFilter(kind, options.where.value_or(QString()), path, err);
    if (!filter)
        return kRefused;
    FilterError error;
    const auto changes = ParseAssignments(kind, assignments, &error, BeyondStorable::Clamp);
    if (!changes)
        return Refuse(err, path, error.message);

    const BatchResult result = RunBatch(kind, *filter, *changes);
    std::vector<EditResult> edits;
    edits.reserve(result.outcomes.size());
    EditedRecords edited;
    for (const BatchOutcome& o : result.outcomes) {
        if (o.result == BatchOutcome::Result::Refused)
            err << "varkel-cli: " << path << ": " << ProblemLine(kind, o.record, o.problem) << '\n';
        if (o.result == BatchOutcome::Result::Changed)
            edited[{&kind, o.record}] =
                &edits.emplace_back(EditResult{o.recordName, o.changes, std::nullopt, QString()});
    }
    using Result = BatchOutcome::Result;
    err << "varkel-cli: note: " << result.outcomes.size() << " of " << kind.count()
        << " records picked: " << result.count(Result::Changed) << " changed, " << result.count(Result::Unchanged)
        << " unchanged, " << result.count(Result::Refused) << " refused"
        << (options.dryRun ? " (dry run: nothing written)" : "") << '\n';
    if (edited.empty())
        return result.count(Result::Refused) > 0 ? kRefused : kDone;
    std::ostringstream report;
    PrintWritten(file, edited, true, report);
    return StoreEdit(files, file, options, report.str(), out, err);
}

namespace {

// The records an apply edited, in the order of the rows, with what EditRecord made of each.
struct AppliedRows {
    std::vector<std::pair<RecordKind*, EditResult>> done;
    std::vector<int> numbers;
};

// Edits the record of each row of `edits` in `file`; a refusal stops at the
// first row refused, having said why (nothing has been written).
std::optional<AppliedRows> applyRows(GameFile& file, const EditsFile& edits, const QString& editsPath,
                                     const Options& options, std::ostream& err)
{
    AppliedRows applied;
    for (const ImportRow& row : edits.rows) {
        const QString kindName = RowKind(row);
        RecordKind* kind = file.kind(kindName);
        const int number = RowNumber(row);
        if (!kind && !kindName.isEmpty())
            return Refuse(err, editsPath, NoKind(kindName, options)), std::nullopt;
        if (!kind || number < 0)
            return Refuse(err, editsPath,
                          (row.line > 0 ? QStringLiteral("line %1: ").arg(row.line) : QString()) +
                              QStringLiteral("an edit needs the \"kind\" and \"number\" of a record here")),
                   std::nullopt;
        const int n = kind->recordOf(number);
        if (n < 0)
            return Refuse(err, file.path, NoSuchRecord(*kind, number)), std::nullopt;
        ImportProblem problem;
        const auto values = RowValues(*kind, ColumnsByName(*kind), n, row, &problem);
        if (!values)
            return Refuse(err, editsPath, QStringLiteral("%1 %2: %3").arg(kindName).arg(number).arg(problem.english)),
                   std::nullopt;
        EditResult result = EditRecord(*kind, file.bytes, n, *values);
        if (result.problem)
            return Refuse(err, file.path, *result.problem), std::nullopt;
        applied.done.emplace_back(kind, std::move(result));
        applied.numbers.push_back(n);
    }
    return applied;
}

}  // namespace

void ApplyCommand::define(CLI::App& command, SharedOptions& shared)
{
    defineEdit(command, shared, file_, "EDITS", edits_,
               "a JSON array or object, or JSON lines (when it starts with [ or {); else CSV with a header of keys or "
               "captions, UTF-8 with or without a byte-order mark, columns left out kept as they are",
               [] {});
}

int ApplyCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_), editsPath = QString::fromStdString(edits_);
    FileStore files = WritingStore(options, err);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    const auto text = ReadRegularFile(editsPath, 64 * 1024 * 1024);
    if (!text)
        return Refuse(err, editsPath, QStringLiteral("cannot be read"));
    const EditsFile edits = ReadEditsFile(*text);
    if (edits.problem)
        return Refuse(err, editsPath, edits.problem->english);
    const auto applied = applyRows(*file, edits, editsPath, options, err);
    if (!applied)
        return kRefused;

    bool changed = false;
    std::ostringstream report;
    EditedRecords edited;
    for (std::size_t i = 0; i < applied->done.size(); ++i) {
        const auto& [kind, result] = applied->done[i];
        PrintChanges(report, *kind, applied->numbers[i], result.changes, result.recordName);
        changed = changed || !result.changes.empty();
        edited[{kind, applied->numbers[i]}] = &result;
    }
    if (changed)
        PrintWritten(*file, edited, false, report);
    return changed ? StoreEdit(files, *file, options, report.str(), out, err) : kDone;
}

namespace {

QString refusalText(ControlRefusal refusal)
{
    switch (refusal) {
    case ControlRefusal::None:
        break;
    case ControlRefusal::NoSuchOfficer:
        return QStringLiteral("no such officer");
    case ControlRefusal::NotInPersonMap:
        return QStringLiteral("has no person number (not in the person map), so no player slot can name it");
    case ControlRefusal::AlreadyControlled:
        return QStringLiteral("is controlled already");
    case ControlRefusal::NotControlled:
        return QStringLiteral("is not controlled");
    case ControlRefusal::AllSlotsTaken:
        return QStringLiteral("eight officers are controlled already, the most a save holds");
    case ControlRefusal::CurrentOfficer:
        return QStringLiteral("is the current officer, whose control cannot be given up");
    case ControlRefusal::LastControlled:
        return QStringLiteral("is the only controlled officer; one must stay");
    }
    return {};
}

// What an action did to an officer, or why it did nothing.
struct ControlOutcome {
    QString done;
    QString refusal;  // empty when done
};

ControlOutcome changeControl(QByteArray& bytes, const SaveTables& tables, int officer, bool take)
{
    // The officer view offers control only to an officer in the game.
    if (take && MayForceAppearance(bytes, officer))
        return {{}, QStringLiteral("is out of the game (retired, not appeared, dead or special); force it in first")};
    ControlledSlots controlled = tables.controlled;
    const ControlChange change =
        take ? TakeControl(bytes, controlled, officer) : GiveUpControl(bytes, controlled, officer);
    if (change.refusal != ControlRefusal::None)
        return {{}, refusalText(change.refusal)};
    return {take ? QStringLiteral("controlled through player slot %1 (person %2)").arg(change.slot).arg(change.person)
                 : QStringLiteral("given up; player slot %1 is empty").arg(change.slot),
            {}};
}

ControlOutcome forceIn(QByteArray& bytes, int officer)
{
    if (!MayForceAppearance(bytes, officer))
        return {{},
                QStringLiteral("is in the game; only an officer who is retired, has not appeared, is dead or special "
                               "can be forced in")};
    const auto appearance = ForceAppearance(bytes, officer);
    return {QStringLiteral("appeared as a free officer, ") +
                (appearance->added         ? QStringLiteral("listed as person %1").arg(appearance->person)
                 : appearance->person >= 0 ? QStringLiteral("person %1 as before").arg(appearance->person)
                                           : QStringLiteral("no person number: the person map is full")),
            {}};
}

}  // namespace

void ControlCommand::define(CLI::App& command, SharedOptions& shared)
{
    command.add_option("FILE", file_)->required();
    command.add_option("ACTION", action_, "take, give-up or appear")
        ->required()
        ->check(CLI::IsMember({"take", "give-up", "appear"}));
    command.add_option("OFFICER", officer_, "officer number")->required();
    shared.addOutput(command, "write the result here instead of over FILE");
    shared.addDryRun(command, "show the change, write nothing");
}

int ControlCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    FileStore files = WritingStore(options, err);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    if (file->fileKind != GameFileKind::SavedGame)
        return Refuse(err, path,
                      QStringLiteral("control works on a saved game, not a %1").arg(GameFileKindName(file->fileKind)));
    const SaveTables tables = SaveTables::build(file->bytes);
    if (officer_ < 0 || officer_ >= tables.officerCount)
        return Refuse(
            err, path,
            QStringLiteral("officer %1: no such officer (the save has %2)").arg(officer_).arg(tables.officerCount));
    const QString who = QStringLiteral("officer %1 %2").arg(officer_).arg(tables.officerNames[officer_]);
    // The action is one of three: the command line takes no other.
    const ControlOutcome outcome = action_ == "appear"
                                       ? forceIn(file->bytes, officer_)
                                       : changeControl(file->bytes, tables, officer_, action_ == "take");
    if (!outcome.refusal.isEmpty())
        return Refuse(err, path, who + QStringLiteral(": ") + outcome.refusal);
    const QString report = who + QStringLiteral(": ") + outcome.done + QLatin1Char('\n');
    return StoreEdit(files, *file, options, report.toStdString(), out, err);
}

}  // namespace varkel::cli
