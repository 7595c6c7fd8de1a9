// The commands that only read: info, dump, diff, check and forecast.
#include "commands.h"
#include "files.h"
#include "reports.h"
#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/file_problems.h"
#include "shared/name_field.h"
#include "shared/record_writer.h"
#include "shared/texts.h"

#include <CLI/CLI.hpp>

#include <QFileInfo>

#include <ostream>

namespace varkel::cli {

namespace {

// The date, officers, controlled officers and family members of a saved game.
void printSavedGame(const QByteArray& bytes, std::ostream& out)
{
    const GameDate date = DecodeGameDate(bytes);
    const SaveTables tables = SaveTables::build(bytes);
    out << "game date: year " << date.year << ", month " << date.month << '\n';
    out << "officers: " << tables.officerCount << '\n';
    out << "controlled officers: " << tables.controlledCount() << '\n';
    for (int k = 0; k < save::kPlayerSlotCount; ++k)
        if (tables.controlled[k] != save::kNoControlledOfficer)
            out << "  slot " << k << ": "
                << NumberedItem(tables.controlled[k], 3, tables.officerNames[tables.controlled[k]]) << '\n';
    QStringList families;
    for (int k = 0; k < save::kFamilyRecordCount; ++k) {
        const QString name = ReadFullName(bytes, save::kFamilyRecordOffset + save::kFamilyRecordSize * k);
        if (!name.isEmpty())
            families << QStringLiteral("%1:%2").arg(k).arg(name);
    }
    out << "family members: " << families.size() << (families.isEmpty() ? "" : " (")
        << families.join(QStringLiteral(", ")) << (families.isEmpty() ? "" : ")") << '\n';
}

}  // namespace

void InfoCommand::define(CLI::App& command, SharedOptions&)
{
    command.add_option("FILE", file_)->required();
}

int InfoCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    const QFileInfo info(path);
    if (!info.isFile())
        return Refuse(err, path, QStringLiteral("no such file"));
    const GameFileKind kind = GameFileKindOf(path, info.size());
    out << info.fileName() << ": " << GameFileKindName(kind) << ", " << info.size() << " bytes\n";
    if (kind != GameFileKind::SavedGame && kind != GameFileKind::SystemSave)
        return kDone;
    // Read, so that a file that only has the name or size of one is not called one.
    FileStore files(options.backupFolder);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    if (kind == GameFileKind::SavedGame)
        printSavedGame(file->bytes, out);
    return kDone;
}

void DumpCommand::define(CLI::App& command, SharedOptions& shared)
{
    command.add_option("FILE", file_)->required();
    shared.addRecords(command, SharedOptions::kRecordsHelp);
    command.add_option("--only", only_, "only these record numbers")->delimiter(',');
    shared.addWhere(command);
    command.add_option("--format", format_, "json (default), jsonl or csv")
        ->check(CLI::IsMember({"json", "jsonl", "csv"}));
    command.add_flag("--bom", bom_,
                     "csv: start with a UTF-8 byte-order mark, so that Excel reads the Chinese as UTF-8");
    command.add_flag("--captions", captions_,
                     "csv: head the columns with their captions (忠誠) instead of their keys (loyalty)");
    shared.addGameFolder(command);
    shared.addSlot(command);
}

int DumpCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    FileStore files(options.backupFolder);
    const auto file = OpenGameFile(files, path, options, err, true);
    if (!file)
        return kRefused;
    RecordKind* kind = options.records.isEmpty() ? file->kinds.front().get() : file->kind(options.records);
    if (!kind)
        return Refuse(err, path, NoKind(options.records, options));
    PrintNotes(*file, err);
    std::vector<int> numbers;
    for (const int number : only_) {
        numbers.push_back(kind->recordOf(number));
        if (numbers.back() < 0)
            return Refuse(err, path, NoSuchRecord(*kind, number));
    }
    if (numbers.empty())
        for (int n = 0; n < kind->count(); ++n)
            numbers.push_back(n);
    if (options.where) {
        const auto filter = ReadFilter(*kind, *options.where, path, err);
        if (!filter)
            return kRefused;
        std::erase_if(numbers, [&](int n) { return !filter->matches(*kind, n); });
    }
    if ((bom_ || captions_) && format_ != "csv")
        return Refuse(err, path, QStringLiteral("--bom and --captions are for --format csv"));
    const RecordWriter writer(*kind);
    if (format_ == "csv") {
        out << (bom_ ? kUtf8Bom : "") << writer.csvHeader(captions_ ? ColumnNames::Captions : ColumnNames::Keys);
        for (const int n : numbers)
            out << writer.csvRow(n);
    } else if (format_ == "jsonl") {
        for (const int n : numbers)
            out << writer.json(n) << '\n';
    } else {
        // One record a line: easy to read, grep and cut from.
        out << "[\n";
        for (std::size_t i = 0; i < numbers.size(); ++i)
            out << writer.json(numbers[i]) << (i + 1 < numbers.size() ? ",\n" : "\n");
        out << "]\n";
    }
    return kDone;
}

void DiffCommand::define(CLI::App& command, SharedOptions& shared)
{
    command.add_option("A", a_)->required();
    command.add_option("B", b_)->required();
    shared.addRecords(command, "only the records of this kind: " + SharedOptions::kRecordsHelp);
    shared.addGameFolder(command);
    shared.addSlot(command);
}

int DiffCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString a = QString::fromStdString(a_), b = QString::fromStdString(b_);
    FileStore files(options.backupFolder);
    const auto fa = OpenGameFile(files, a, options, err, false);
    const auto fb = OpenGameFile(files, b, options, err, false);
    if (!fa || !fb)
        return kRefused;
    if (fa->fileKind != fb->fileKind)
        return Refuse(err, b,
                      QStringLiteral("is a %1, %2 is a %3")
                          .arg(GameFileKindName(fb->fileKind), a, GameFileKindName(fa->fileKind)));
    const auto chosen = ChosenKinds(*fa, options);
    if (!chosen)
        return Refuse(err, a, NoKind(options.records, options));

    // Bytes of the records of other kinds are not compared when one kind is chosen.
    const FileComparison comparison =
        CompareFiles(fa->kinds, fa->bytes, fb->kinds, fb->bytes, OnlyKind(*fa, *chosen, options));
    for (const KindDifference& kind : comparison.kinds) {
        for (const RecordDifference& r : kind.records) {
            const QString line = QStringLiteral("%1 %2").arg(r.recordKind).arg(r.number) +
                                 (r.name.isEmpty() ? QString() : QLatin1Char(' ') + r.name);
            if (r.presence != RecordDifference::Presence::Both)
                out << line << ": only in " << (r.presence == RecordDifference::Presence::OnlyOurs ? a : b) << '\n';
            for (const FieldDifference& f : r.fields)
                out << line << ": " << f.key << ' ' << OneLine(f.oursText) << " -> " << OneLine(f.theirsText) << '\n';
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

void CheckCommand::define(CLI::App& command, SharedOptions& shared)
{
    command.add_option("FILE", file_)->required();
    shared.addRecords(command, "only the records of this kind: " + SharedOptions::kRecordsHelp);
    shared.addGameFolder(command);
    shared.addSlot(command);
}

int CheckCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    FileStore files(options.backupFolder);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    const auto chosen = ChosenKinds(*file, options);
    if (!chosen)
        return Refuse(err, path, NoKind(options.records, options));
    PrintNotes(*file, err);
    const std::vector<FileProblem> problems = FindProblems(file->kinds, OnlyKind(*file, *chosen, options));
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

void ForecastCommand::define(CLI::App& command, SharedOptions&)
{
    command.add_option("FILE", file_)->required();
    command
        .add_option("MEMBER", member_,
                    "the child's member number, 0..7; it needs a name, a controlled officer in "
                    "its player slot and an age of 14 or less")
        ->required();
}

int ForecastCommand::run(const Options& options, std::ostream& out, std::ostream& err)
{
    const QString path = QString::fromStdString(file_);
    FileStore files(options.backupFolder);
    const auto file = OpenGameFile(files, path, options, err, false);
    if (!file)
        return kRefused;
    const RecordKind* members = file->kind(QStringLiteral("family"));
    if (file->fileKind != GameFileKind::SavedGame || !members)
        return Refuse(err, path,
                      QStringLiteral("forecast works on a saved game, not a %1").arg(GameFileKindName(file->fileKind)));
    if (member_ < 0 || member_ >= family::kMemberCount)
        return Refuse(err, path,
                      QStringLiteral("member %1: no such member (children 0..7, spouses 8..15)").arg(member_));
    const QString who = RecordLine(*members, member_);
    if (!family::isChild(member_))
        return Refuse(err, path,
                      who + QStringLiteral(": is a spouse; only children (members 0..7) have a growth forecast"));
    const FamilyMember child = DecodeFamilyMember(file->bytes, member_);
    if (child.person.surname.isEmpty() && child.person.givenName.isEmpty())
        return Refuse(err, path, who + QStringLiteral(": has no name, so the family view shows no forecast"));
    // A child's view draws no random numbers.
    const FamilyDisplay shown =
        DisplayFamilyMember(file->bytes, SaveTables::build(file->bytes), member_, [] { return 0.0; });
    if (shown.officer == save::kNoControlledOfficer)
        return Refuse(err, path,
                      who + QStringLiteral(": player slot %1 controls no officer to show it with, so the family view "
                                           "shows no age and no forecast")
                                .arg(family::slotOf(member_)));
    if (!shown.forecastShown)
        return Refuse(err, path,
                      who + QStringLiteral(": is %1 years old; only children of %2 or younger have a forecast")
                                .arg(shown.age)
                                .arg(family::kOldestChild));

    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, shown.age, file->bytes);
    constexpr int kAbilityNames = 122;  // 武力, 智力, 政治, 魅力
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << GetResText(kAbilityNames + int(i % 4)) << ": " << lines[i] << '\n';
    return kDone;
}

}  // namespace varkel::cli
