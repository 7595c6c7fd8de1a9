#include "cli_commands.h"

#include "cli_files.h"
#include "neweditor/system_save.h"
#include "saveeditor/control.h"
#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/backup_index.h"
#include "shared/file_problems.h"
#include "shared/game_folder.h"
#include "shared/name_field.h"
#include "shared/record_batch.h"
#include "shared/record_filter.h"
#include "shared/record_import.h"
#include "shared/record_writer.h"
#include "shared/texts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

namespace varkel::cli {

namespace {

std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

int refuse(std::ostream& err, const QString& file, const QString& why)
{
    err << "varkel-cli: " << file << ": " << why << '\n';
    return kRefused;
}

GameContext contextFor(FileStore& files, const Options& options, std::ostream& err, bool needed)
{
    const QString folder = GameFolderFor(options.gameFolder, options.programFolder);
    if (folder.isEmpty() && needed)
        err << "varkel-cli: note: no game folder with d_sce.vk (--game-folder); city names and treasures are left out\n";
    return ReadContext(files, folder);
}

QString recordLine(const RecordKind& kind, int n, QString name = QString())
{
    if (name.isEmpty())
        name = kind.recordName(n);
    return QStringLiteral("%1 %2").arg(kind.recordKind(n)).arg(kind.numberOf(n)) +
           (name.isEmpty() ? QString() : QLatin1Char(' ') + name);
}

// A value on one line: the line breaks of a biography as "\n".
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

void printChanges(std::ostream& out, const RecordKind& kind, int n, const std::vector<FieldChange>& changes,
                  const QString& name = QString())
{
    for (const FieldChange& c : changes)
        out << recordLine(kind, n, name) << ": " << c.field << ' ' << oneLine(c.before) << " -> " << oneLine(c.after)
            << (c.clamped ? " (clamped to the field's limit)" : "") << '\n';
}

// The store the command line writes through: the editor's backup folder, kept
// within the limits of the editor's settings. What it has to say about backups
// goes to `err` as it happens; a write without a backup takes --no-backup.
FileStore writingStore(const Options& options, std::ostream& err)
{
    FileStore files(options.backupFolder);
    files.setBackupLimits(ReadBackupLimits(SettingsFilePath(options.programFolder)));
    files.setBackupNotices([&err](const BackupNotice& notice) {
        if (notice.kind == BackupNotice::Kind::WaitingForIndex)
            err << "varkel-cli: note: waiting for " << notice.detail << " to finish with the backup index\n";
        else
            err << "varkel-cli: warning: the backup index cannot be written (" << notice.detail
                << "); backups are kept, their origin unknown\n";
    });
    files.setWithoutBackupQuestion([&options, &err](const FileStore::BackupFailure& failure) {
        err << "varkel-cli: " << (options.noBackup ? "note" : "error")
            << ": no backup can be made: " << failure.error.englishMessage()
            << (options.noBackup ? "; writing without one (--no-backup)\n" : "; --no-backup writes without one\n");
        return options.noBackup;
    });
    return files;
}

// Shows what an edit changed, then writes every file whose bytes it changed
// through the editor's atomic save with its backup. --output takes the file named
// on the command line only, so an edit that changes a companion file refuses it.
int store(const GameFile& file, const Options& options, const std::string& report, std::ostream& out, std::ostream& err)
{
    std::vector<const HeldFile*> changed;
    if (file.changed())
        changed.push_back(&file);
    for (const auto& companion : file.companions) {
        if (!companion->changed())
            continue;
        if (!options.output.isEmpty())
            return refuse(err, file.path,
                          QStringLiteral("the edit changes %1 too, which cannot be written to --output; "
                                         "leave out --output")
                              .arg(companion->path));
        changed.push_back(companion.get());
    }
    out << report;
    if (options.dryRun)
        return kDone;
    FileStore files = writingStore(options, err);
    QStringList written;
    for (const HeldFile* f : changed) {
        const QString target = f == &file && !options.output.isEmpty() ? options.output : f->path;
        if (const auto error = files.write(target, f->bytes, f->keepTail)) {
            QString why = error->englishMessage();
            if (!written.isEmpty())
                why += QStringLiteral(" (written already: %1)").arg(written.join(QStringLiteral(", ")));
            return refuse(err, target, why);
        }
        written << target;
    }
    return kDone;
}

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

// Why bytes taken for a saved game or a system save are none, as the windows
// ask before opening one; empty when they can be one.
QString unlikeness(FileType type, const QByteArray& bytes)
{
    QStringList problems;
    QString kind;
    if (type == FileType::SavedGame) {
        problems = SaveGame::shapeProblems(bytes);
        kind = QStringLiteral("a saved game");
    } else if (type == FileType::SystemSave) {
        problems = SystemSave::shapeProblems(bytes);
        kind = QStringLiteral("a system save");
    }
    if (problems.isEmpty())
        return {};
    return QStringLiteral("does not look like %1: %2; --force opens it all the same")
        .arg(kind, problems.join(QStringLiteral("; ")));
}

std::unique_ptr<GameFile> open(const QString& path, const Options& options, std::ostream& err, bool namesNeeded)
{
    if (options.slot && (*options.slot < 0 || *options.slot >= save::kPlayerSlotCount)) {
        refuse(err, path, QStringLiteral("--slot %1: player slots are 0..7").arg(*options.slot));
        return nullptr;
    }
    FileStore files(options.backupFolder);
    QString error;
    // Only a saved game takes names and treasures from the game folder. What is
    // noted about the folder follows only a file that is read: a refusal is one line.
    const bool savedGame = TypeOf(path, QFileInfo(path).size()) == FileType::SavedGame;
    std::ostringstream notes;
    auto file = OpenGameFile(files, path, savedGame ? contextFor(files, options, notes, namesNeeded) : GameContext{},
                             SlotChoice{options.slot, options.special}, &error);
    if (!file) {
        err << "varkel-cli: " << error << '\n';
        return nullptr;
    }
    if (!options.force) {
        if (const QString why = unlikeness(file->type, file->bytes); !why.isEmpty()) {
            refuse(err, path, why);
            return nullptr;
        }
    }
    err << notes.str();
    if (file->kinds.empty()) {
        err << "varkel-cli: " << path << ": a " << TypeName(file->type) << " holds no records this tool knows yet\n";
        return nullptr;
    }
    return file;
}

// The edited records of a set or apply, and what EditRecord made of each.
using EditedRecords = std::map<std::pair<const RecordKind*, int>, const EditResult*>;

// The changes of every record an edit wrote besides the edited ones (the officers
// whose statuses a city's head change moves), read against the file as it was
// read, in the order diff shows records; with `showEdited` the edited records'
// own lines take their places among them, so a set prints what diff will show.
void printWritten(const GameFile& file, const Options& options, const EditedRecords& edited, bool showEdited,
                  std::ostream& out)
{
    std::vector<qsizetype> changed;
    for (qsizetype i = 0; i < file.bytes.size(); ++i)
        if (i >= file.asRead.size() || file.bytes[i] != file.asRead[i])
            changed.push_back(i);
    std::unique_ptr<GameFile> original;
    if (!changed.empty()) {
        std::ostringstream ignored;
        original = open(file.path, options, ignored, false);
        if (original && original->kinds.size() != file.kinds.size())
            original.reset();
    }
    auto touched = [&](const RecordKind& kind, int n) {
        for (const auto& e : kind.extents(n)) {
            const auto at = std::lower_bound(changed.begin(), changed.end(), e.offset);
            if (at != changed.end() && *at < e.offset + e.size)
                return true;
        }
        return false;
    };
    for (std::size_t k = 0; k < file.kinds.size(); ++k) {
        const RecordKind& now = *file.kinds[k];
        const RecordKind* was = original ? original->kinds[k].get() : nullptr;
        for (int n = 0; n < now.count(); ++n) {
            if (const auto e = edited.find({&now, n}); e != edited.end()) {
                if (showEdited)
                    printChanges(out, now, n, e->second->changes, e->second->recordName);
            } else if (was && n < was->count() && (touched(now, n) || touched(*was, n))) {
                printChanges(out, *was, n, DiffRecord(*was, now, n));
            }
        }
    }
}

// What the file's kinds had to leave out, where records are shown.
void printNotes(const GameFile& file, std::ostream& err)
{
    for (const QString& note : file.notes)
        err << "varkel-cli: note: " << file.path << ": " << note << '\n';
}

// Why the file has no records of kind `name`: the intimacy levels need the slot they belong to.
QString noKind(const QString& name, const Options& options)
{
    if (!options.slot && (name == QLatin1String("intimacy") || name == QLatin1String("special_intimacy")))
        return QStringLiteral("%1 needs --slot D, the player slot (0..7) whose levels they are").arg(name);
    return QStringLiteral("no records of kind %1 here").arg(name);
}

QString noSuchRecord(const RecordKind& kind, int number)
{
    return QStringLiteral("%1 %2: no such record").arg(kind.name()).arg(number);
}

// The kinds --records names (every kind of the file without it); none for a
// name the file has no records of.
std::optional<std::set<const RecordKind*>> chosenKinds(GameFile& file, const Options& options)
{
    std::set<const RecordKind*> kinds;
    if (options.records.isEmpty()) {
        for (const auto& kind : file.kinds)
            kinds.insert(kind.get());
    } else if (const RecordKind* kind = file.kind(options.records)) {
        kinds.insert(kind);
    } else {
        return std::nullopt;
    }
    return kinds;
}

// The place among the file's kinds of the one kind --records chose; nothing
// when every kind was.
std::optional<std::size_t> onlyKind(const GameFile& file, const std::set<const RecordKind*>& chosen,
                                    const Options& options)
{
    if (options.records.isEmpty())
        return std::nullopt;
    for (std::size_t k = 0; k < file.kinds.size(); ++k)
        if (chosen.count(file.kinds[k].get()))
            return k;
    return std::nullopt;
}

// The filter of --where over `kind`, or nothing having said why.
std::optional<RecordFilter> readFilter(const RecordKind& kind, const QString& where, const QString& path,
                                       std::ostream& err)
{
    FilterError error;
    auto filter = RecordFilter::parse(kind, where, &error);
    if (!filter)
        refuse(err, path, QStringLiteral("--where: ") + error.message);
    return filter;
}

}  // namespace

int Info(const QString& path, const Options& options, std::ostream& out, std::ostream& err)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return refuse(err, path, QStringLiteral("no such file"));
    const FileType type = TypeOf(path, info.size());
    out << info.fileName() << ": " << TypeName(type) << ", " << info.size() << " bytes\n";
    if (type != FileType::SavedGame && type != FileType::SystemSave)
        return kDone;
    // Read, so that a file that only has the name or size of one is not called one.
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    if (type != FileType::SavedGame)
        return kDone;
    const GameDate date = DecodeGameDate(file->bytes);
    const SaveTables tables = SaveTables::build(file->bytes);
    out << "game date: year " << date.year << ", month " << date.month << '\n';
    out << "officers: " << tables.officerCount << '\n';
    out << "controlled officers: " << tables.controlledCount() << '\n';
    for (int k = 0; k < save::kPlayerSlotCount; ++k)
        if (tables.controlled[k] != save::kNoControlledOfficer)
            out << "  slot " << k << ": "
                << NumberedItem(tables.controlled[k], 3, tables.officerNames[tables.controlled[k]]) << '\n';
    QStringList families;
    for (int k = 0; k < save::kFamilyRecordCount; ++k) {
        const QString name = ReadFullName(file->bytes, save::kFamilyRecordOffset + save::kFamilyRecordSize * k);
        if (!name.isEmpty())
            families << QStringLiteral("%1:%2").arg(k).arg(name);
    }
    out << "family members: " << families.size() << (families.isEmpty() ? "" : " (")
        << families.join(QStringLiteral(", ")) << (families.isEmpty() ? "" : ")") << '\n';
    return kDone;
}

int Dump(const QString& path, const Options& options, std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, true);
    if (!file)
        return kRefused;
    RecordKind* kind = options.records.isEmpty() ? file->kinds.front().get() : file->kind(options.records);
    if (!kind)
        return refuse(err, path, noKind(options.records, options));
    printNotes(*file, err);
    std::vector<int> numbers;
    for (const int number : options.only) {
        numbers.push_back(kind->recordOf(number));
        if (numbers.back() < 0)
            return refuse(err, path, noSuchRecord(*kind, number));
    }
    if (numbers.empty())
        for (int n = 0; n < kind->count(); ++n)
            numbers.push_back(n);
    if (options.where) {
        const auto filter = readFilter(*kind, *options.where, path, err);
        if (!filter)
            return kRefused;
        std::erase_if(numbers, [&](int n) { return !filter->matches(*kind, n); });
    }

    const RecordWriter writer(*kind);
    if ((options.bom || options.captions) && options.format != QLatin1String("csv"))
        return refuse(err, path, QStringLiteral("--bom and --captions are for --format csv"));
    if (options.format == QLatin1String("csv")) {
        out << (options.bom ? kUtf8Bom : "")
            << writer.csvHeader(options.captions ? ColumnNames::Captions : ColumnNames::Keys);
        for (const int n : numbers)
            out << writer.csvRow(n);
    } else if (options.format == QLatin1String("jsonl")) {
        for (const int n : numbers)
            out << writer.json(n) << '\n';
    } else if (options.format == QLatin1String("json")) {
        // One record a line: easy to read, grep and cut from.
        out << "[\n";
        for (std::size_t i = 0; i < numbers.size(); ++i)
            out << writer.json(numbers[i]) << (i + 1 < numbers.size() ? ",\n" : "\n");
        out << "]\n";
    } else {
        return refuse(err, path, QStringLiteral("unknown format %1 (json, jsonl or csv)").arg(options.format));
    }
    return kDone;
}

int Set(const QString& path, const QString& kindName, int number, const QStringList& assignments,
        const Options& options, std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    RecordKind* kind = file->kind(kindName);
    if (!kind)
        return refuse(err, path, noKind(kindName, options));
    int n = kind->recordOf(number);
    if (options.byOfficer) {
        const auto about = kind->recordAbout(number);
        if (!about)
            return refuse(err, path,
                          QStringLiteral("--by-officer: %1 records are not about other officers; give the "
                                         "record's number")
                              .arg(kind->name()));
        if (*about < 0)
            return refuse(err, path, QStringLiteral("%1: no record is about officer %2").arg(kind->name()).arg(number));
        n = *about;
    }
    if (n < 0)
        return refuse(err, path, noSuchRecord(*kind, number));
    std::vector<std::pair<QString, QString>> values;
    for (const QString& a : assignments) {
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return refuse(err, path, QStringLiteral("%1: FIELD=VALUE expected").arg(a));
        values.emplace_back(a.left(eq), a.mid(eq + 1));
    }
    // One rule for every number: clamped to its field's limits, else to the most it holds, and reported.
    const EditResult result = EditRecord(*kind, file->bytes, n, values, BeyondStorable::Clamp);
    if (result.problem)
        return refuse(err, path, *result.problem);
    if (result.changes.empty())
        return kDone;
    std::ostringstream report;
    printWritten(*file, options, {{{kind, n}, &result}}, true, report);
    return store(*file, options, report.str(), out, err);
}

int SetWhere(const QString& path, const QString& kindName, const QStringList& assignments, const Options& options,
             std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    RecordKind* kind = file->kind(kindName);
    if (!kind)
        return refuse(err, path, noKind(kindName, options));
    if (options.byOfficer)
        return refuse(err, path, QStringLiteral("--by-officer names one record; --where picks them by their values"));
    const auto filter = readFilter(*kind, options.where.value_or(QString()), path, err);
    if (!filter)
        return kRefused;
    FilterError error;
    const auto changes = ParseAssignments(*kind, assignments, &error, BeyondStorable::Clamp);
    if (!changes)
        return refuse(err, path, error.message);

    const BatchResult result = RunBatch(*kind, *filter, *changes);
    std::vector<EditResult> edits;
    edits.reserve(result.outcomes.size());
    EditedRecords edited;
    for (const BatchOutcome& o : result.outcomes) {
        if (o.result == BatchOutcome::Result::Refused)
            err << "varkel-cli: " << path << ": " << ProblemLine(*kind, o.record, o.problem) << '\n';
        if (o.result == BatchOutcome::Result::Changed)
            edited[{kind, o.record}] =
                &edits.emplace_back(EditResult{o.recordName, o.changes, std::nullopt, QString()});
    }
    using Result = BatchOutcome::Result;
    err << "varkel-cli: note: " << result.outcomes.size() << " of " << kind->count()
        << " records picked: " << result.count(Result::Changed) << " changed, " << result.count(Result::Unchanged)
        << " unchanged, " << result.count(Result::Refused) << " refused"
        << (options.dryRun ? " (dry run: nothing written)" : "") << '\n';
    if (edited.empty())
        return result.count(Result::Refused) > 0 ? kRefused : kDone;
    std::ostringstream report;
    printWritten(*file, options, edited, true, report);
    return store(*file, options, report.str(), out, err);
}

int Apply(const QString& path, const QString& editsPath, const Options& options, std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    const auto text = FileStore::readFile(editsPath, 64 * 1024 * 1024);
    if (!text)
        return refuse(err, editsPath, QStringLiteral("cannot be read"));
    const EditsFile edits = ReadEditsFile(*text);
    if (edits.problem)
        return refuse(err, editsPath, edits.problem->english);

    std::vector<std::pair<RecordKind*, EditResult>> done;
    std::vector<int> numbers;
    for (const ImportRow& row : edits.rows) {
        const QString kindName = RowKind(row);
        RecordKind* kind = file->kind(kindName);
        const int number = RowNumber(row);
        if (!kind && !kindName.isEmpty())
            return refuse(err, editsPath, noKind(kindName, options));
        if (!kind || number < 0)
            return refuse(err, editsPath,
                          (row.line > 0 ? QStringLiteral("line %1: ").arg(row.line) : QString()) +
                              QStringLiteral("an edit needs the \"kind\" and \"number\" of a record here"));
        const int n = kind->recordOf(number);
        if (n < 0)
            return refuse(err, path, noSuchRecord(*kind, number));
        ImportProblem problem;
        const auto values = RowValues(*kind, ColumnsByName(*kind), n, row, &problem);
        if (!values)
            return refuse(err, editsPath, QStringLiteral("%1 %2: %3").arg(kindName).arg(number).arg(problem.english));
        EditResult result = EditRecord(*kind, file->bytes, n, *values);
        if (result.problem)
            return refuse(err, path, *result.problem);  // nothing has been written
        done.emplace_back(kind, std::move(result));
        numbers.push_back(n);
    }
    bool changed = false;
    std::ostringstream report;
    EditedRecords edited;
    for (std::size_t i = 0; i < done.size(); ++i) {
        printChanges(report, *done[i].first, numbers[i], done[i].second.changes, done[i].second.recordName);
        changed = changed || !done[i].second.changes.empty();
        edited[{done[i].first, numbers[i]}] = &done[i].second;
    }
    if (changed)
        printWritten(*file, options, edited, false, report);
    return changed ? store(*file, options, report.str(), out, err) : kDone;
}

int Diff(const QString& a, const QString& b, const Options& options, std::ostream& out, std::ostream& err)
{
    auto fa = open(a, options, err, false);
    auto fb = open(b, options, err, false);
    if (!fa || !fb)
        return kRefused;
    if (fa->type != fb->type)
        return refuse(err, b, QStringLiteral("is a %1, %2 is a %3").arg(TypeName(fb->type), a, TypeName(fa->type)));

    const auto chosen = chosenKinds(*fa, options);
    if (!chosen)
        return refuse(err, a, noKind(options.records, options));

    // Bytes of the records of other kinds are not compared when one kind is chosen.
    const FileComparison comparison =
        CompareFiles(fa->kinds, fa->bytes, fb->kinds, fb->bytes, onlyKind(*fa, *chosen, options));
    for (const KindDifference& kind : comparison.kinds) {
        for (const RecordDifference& r : kind.records) {
            const QString line = QStringLiteral("%1 %2").arg(r.recordKind).arg(r.number) +
                                 (r.name.isEmpty() ? QString() : QLatin1Char(' ') + r.name);
            if (r.presence != RecordDifference::Presence::Both)
                out << line << ": only in " << (r.presence == RecordDifference::Presence::OnlyOurs ? a : b) << '\n';
            for (const FieldDifference& f : r.fields)
                out << line << ": " << f.key << ' ' << oneLine(f.oursText) << " -> " << oneLine(f.theirsText) << '\n';
        }
    }
    if (comparison.oursSize != comparison.theirsSize)
        out << "sizes differ: " << comparison.oursSize << " and " << comparison.theirsSize << " bytes\n";
    if (comparison.unownedCount > 0) {
        out << comparison.unownedCount << " differing bytes that no field owns, at";
        for (const qsizetype at : comparison.firstUnowned)
            out << ' ' << at;
        out << (comparison.unownedCount > qsizetype(comparison.firstUnowned.size()) ? " ..." : "") << '\n';
    }
    return comparison.found() ? kFound : kDone;
}

int Check(const QString& path, const Options& options, std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    const auto chosen = chosenKinds(*file, options);
    if (!chosen)
        return refuse(err, path, noKind(options.records, options));
    printNotes(*file, err);
    const std::vector<FileProblem> problems = FindProblems(file->kinds, onlyKind(*file, *chosen, options));
    for (const FileProblem& p : problems) {
        if (p.record >= 0)
            out << p.recordKind << ' ' << p.number
                << (p.recordName.isEmpty() ? QString() : QLatin1Char(' ') + p.recordName);
        else
            out << QFileInfo(path).fileName();
        out << ": " << p.field << " at offset " << p.offset << " = " << p.value << ": " << p.what << '\n';
    }
    return problems.empty() ? kDone : kFound;
}

int Control(const QString& path, const QString& action, int officer, const Options& options, std::ostream& out,
            std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    if (file->type != FileType::SavedGame)
        return refuse(err, path, QStringLiteral("control works on a saved game, not a %1").arg(TypeName(file->type)));
    const SaveTables tables = SaveTables::build(file->bytes);
    if (officer < 0 || officer >= tables.officerCount)
        return refuse(
            err, path,
            QStringLiteral("officer %1: no such officer (the save has %2)").arg(officer).arg(tables.officerCount));
    const QString who = QStringLiteral("officer %1 %2").arg(officer).arg(tables.officerNames[officer]);
    std::ostringstream report;

    if (action == QLatin1String("take") || action == QLatin1String("give-up")) {
        const bool take = action == QLatin1String("take");
        // The officer view offers control only to an officer in the game.
        if (take && MayForceAppearance(file->bytes, officer))
            return refuse(err, path,
                          who + QStringLiteral(": is out of the game (retired, not appeared, dead or "
                                               "special); force it in first"));
        ControlledSlots controlled = tables.controlled;
        const ControlChange change = take ? TakeControl(file->bytes, controlled, officer)
                                          : GiveUpControl(file->bytes, controlled, officer);
        if (change.refusal != ControlRefusal::None)
            return refuse(err, path, who + QStringLiteral(": ") + refusalText(change.refusal));
        report << who << ": "
               << (take ? QStringLiteral("controlled through player slot %1 (person %2)")
                              .arg(change.slot)
                              .arg(change.person)
                        : QStringLiteral("given up; player slot %1 is empty").arg(change.slot))
               << '\n';
    } else if (action == QLatin1String("appear")) {
        if (!MayForceAppearance(file->bytes, officer))
            return refuse(err, path,
                          who + QStringLiteral(": is in the game; only an officer who is retired, has not "
                                               "appeared, is dead or special can be forced in"));
        const auto appearance = ForceAppearance(file->bytes, officer);
        report << who << ": appeared as a free officer, "
               << (appearance->added         ? QStringLiteral("listed as person %1").arg(appearance->person)
                   : appearance->person >= 0 ? QStringLiteral("person %1 as before").arg(appearance->person)
                                             : QStringLiteral("no person number: the person map is full"))
               << '\n';
    } else {
        return refuse(err, path, QStringLiteral("%1: take, give-up or appear expected").arg(action));
    }
    return store(*file, options, report.str(), out, err);
}

int Forecast(const QString& path, int member, const Options& options, std::ostream& out, std::ostream& err)
{
    auto file = open(path, options, err, false);
    if (!file)
        return kRefused;
    const RecordKind* members = file->kind(QStringLiteral("family"));
    if (file->type != FileType::SavedGame || !members)
        return refuse(err, path, QStringLiteral("forecast works on a saved game, not a %1").arg(TypeName(file->type)));
    if (member < 0 || member >= family::kMemberCount)
        return refuse(err, path,
                      QStringLiteral("member %1: no such member (children 0..7, spouses 8..15)").arg(member));
    const QString who = recordLine(*members, member);
    if (!family::isChild(member))
        return refuse(err, path,
                      who + QStringLiteral(": is a spouse; only children (members 0..7) have a growth forecast"));
    const FamilyMember child = DecodeFamilyMember(file->bytes, member);
    if (child.person.surname.isEmpty() && child.person.givenName.isEmpty())
        return refuse(err, path, who + QStringLiteral(": has no name, so the family view shows no forecast"));
    // A child's view draws no random numbers.
    const FamilyDisplay shown =
        DisplayFamilyMember(file->bytes, SaveTables::build(file->bytes), member, [] { return 0.0; });
    if (shown.officer == save::kNoControlledOfficer)
        return refuse(err, path,
                      who + QStringLiteral(": player slot %1 controls no officer to show it with, so the family view "
                                           "shows no age and no forecast")
                                .arg(family::slotOf(member)));
    if (!shown.forecastShown)
        return refuse(err, path,
                      who + QStringLiteral(": is %1 years old; only children of %2 or younger have a forecast")
                                .arg(shown.age)
                                .arg(family::kOldestChild));

    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, shown.age, file->bytes);
    constexpr int kAbilityNames = 122;  // 武力, 智力, 政治, 魅力
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << GetResText(kAbilityNames + int(i % 4)) << ": " << lines[i] << '\n';
    return kDone;
}

namespace {

// One backup as `backups` lists it: number, time, size, marks, path.
QString backupLine(const QString& number, const BackupEntry& entry, const QString& backupPath, const QString& file)
{
    QStringList marks;
    if (SameFileBytes(backupPath, file))
        marks << QStringLiteral("identical");
    if (!entry.originKnown())
        marks << QStringLiteral("origin unknown");
    return QStringLiteral("%1  %2  %3 bytes  %4%5")
        .arg(number,
             entry.made.isValid() ? entry.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                  : QStringLiteral("time unknown"),
             QString::number(entry.size),
             marks.isEmpty() ? QString() : marks.join(QStringLiteral(", ")) + QStringLiteral("  "), backupPath);
}

}  // namespace

int Backups(const QString& path, const Options& options, std::ostream& out, std::ostream& err)
{
    const BackupIndex index = FileStore(options.backupFolder).backupIndex();
    const std::vector<BackupEntry> known = index.entriesFor(path);
    const std::vector<BackupEntry> unknown = index.unknownOriginNamedLike(path);
    if (known.empty() && unknown.empty()) {
        err << "varkel-cli: note: " << path << ": no backups in " << index.folder() << '\n';
        return kDone;
    }
    for (std::size_t i = 0; i < known.size(); ++i)
        out << backupLine(QString::number(i + 1), known[i], index.pathOf(known[i]), path) << '\n';
    for (const BackupEntry& entry : unknown)
        out << backupLine(QStringLiteral("?"), entry, index.pathOf(entry), path) << '\n';
    if (!unknown.empty())
        err << "varkel-cli: note: the backups marked ? are of a file named " << QFileInfo(path).fileName()
            << " in a folder the backup index no longer knows; restore one by its path\n";
    return kDone;
}

int Restore(const QString& path, const QString& backup, const Options& options, std::ostream& out, std::ostream& err)
{
    FileStore files = writingStore(options, err);
    const BackupIndex index = files.backupIndex();
    // A backup's number is digits only: anything else names a file.
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const bool isNumber = digits.match(backup).hasMatch();
    QString backupPath = backup;
    if (isNumber) {
        const std::vector<BackupEntry> known = index.entriesFor(path);
        bool fits = false;
        const qsizetype number = backup.toLongLong(&fits);
        if (!fits || number < 1 || number > qsizetype(known.size()))
            return refuse(err, path,
                          known.empty()
                              ? QStringLiteral("backup %1: it has no backups in %2").arg(backup, index.folder())
                              : QStringLiteral("backup %1: no such backup; it has %2 (varkel-cli backups)")
                                    .arg(backup)
                                    .arg(known.size()));
        backupPath = index.pathOf(known[std::size_t(number - 1)]);
    }
    // What a backup may hold is what the file it goes over holds when the editor opens it.
    const QFileInfo target(path);
    const FileType type = TypeOf(path, target.exists() ? target.size() : QFileInfo(backupPath).size());
    const auto sizes = SizesOf(type);
    if (!sizes)
        return refuse(err, path,
                      QStringLiteral("is no file the editor writes (a %1); nothing restored").arg(TypeName(type)));
    // A path is the user's own choice, even of a backup whose origin is unknown.
    const BackupRead read = ReadBackupFor(index, path, backupPath, !isNumber, *sizes);
    switch (read.refusal) {
    case BackupRead::Refusal::None:
        break;
    case BackupRead::Refusal::Missing:
        return refuse(err, backupPath, QStringLiteral("no such backup"));
    case BackupRead::Refusal::OtherFile:
        return refuse(err, backupPath, QStringLiteral("is a backup of %1, not of %2").arg(read.otherOriginal, path));
    case BackupRead::Refusal::NotListed:
        return refuse(err, backupPath, QStringLiteral("is no backup of %1").arg(path));
    case BackupRead::Refusal::Unreadable:
        return refuse(err, backupPath, read.error.englishMessage());
    case BackupRead::Refusal::WrongSize:
        return refuse(err, backupPath,
                      QStringLiteral("%1 bytes is no %2 the editor opens (%3..%4 bytes); nothing restored")
                          .arg(read.size)
                          .arg(TypeName(type))
                          .arg(sizes->least)
                          .arg(sizes->most));
    }
    if (!options.force) {
        if (const QString why = unlikeness(type, read.bytes); !why.isEmpty())
            return refuse(err, backupPath, why);
    }
    if (SameFileBytes(backupPath, path)) {
        out << path << ": holds the bytes of " << backupPath << " already; nothing written\n";
        return kDone;
    }
    if (options.dryRun) {
        out << path << ": would be restored from " << backupPath << " (" << read.bytes.size() << " bytes)"
            << (QFileInfo::exists(path) ? ", after a backup of what it holds now" : "")
            << " (dry run: nothing written)\n";
        return kDone;
    }
    if (const auto error = files.write(path, read.bytes, false))
        return refuse(err, path, error->englishMessage());
    out << path << ": restored from " << backupPath << " (" << read.bytes.size() << " bytes)";
    if (const QString replaced = files.backupOf(path); !replaced.isEmpty())
        out << "; what it held is backed up in " << replaced;
    out << '\n';
    return kDone;
}

}  // namespace varkel::cli
