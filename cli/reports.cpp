#include "reports.h"

#include <algorithm>
#include <ostream>

namespace varkel::cli {

std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

int Refuse(std::ostream& err, const QString& file, const QString& why)
{
    err << "varkel-cli: " << file << ": " << why << '\n';
    return kRefused;
}

QString RecordLine(const RecordKind& kind, int n, QString name)
{
    if (name.isEmpty())
        name = kind.recordName(n);
    return QStringLiteral("%1 %2").arg(kind.recordKind(n)).arg(kind.numberOf(n)) +
           (name.isEmpty() ? QString() : QLatin1Char(' ') + name);
}

QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

void PrintChanges(std::ostream& out, const RecordKind& kind, int n, const std::vector<FieldChange>& changes,
                  const QString& name)
{
    for (const FieldChange& c : changes)
        out << RecordLine(kind, n, name) << ": " << c.field << ' ' << OneLine(c.before) << " -> " << OneLine(c.after)
            << (c.clamped ? " (clamped to the field's limit)" : "") << '\n';
}

void PrintWritten(const GameFile& file, const EditedRecords& edited, bool showEdited, std::ostream& out)
{
    std::vector<qsizetype> changed;
    for (qsizetype i = 0; i < file.bytes.size(); ++i)
        if (i >= file.asRead.size() || file.bytes[i] != file.asRead[i])
            changed.push_back(i);
    const std::unique_ptr<GameFile> original = changed.empty() ? nullptr : file.asItWasRead();
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
                    PrintChanges(out, now, n, e->second->changes, e->second->recordName);
            } else if (was && n < was->count() && (touched(now, n) || touched(*was, n))) {
                PrintChanges(out, *was, n, DiffRecord(*was, now, n));
            }
        }
    }
}

void PrintNotes(const GameFile& file, std::ostream& err)
{
    for (const QString& note : file.notes)
        err << "varkel-cli: note: " << file.path << ": " << note << '\n';
}

QString NoKind(const QString& name, const Options& options)
{
    // The intimacy levels need the slot they belong to.
    if (!options.slot && (name == QLatin1String("intimacy") || name == QLatin1String("special_intimacy")))
        return QStringLiteral("%1 needs --slot D, the player slot (0..7) whose levels they are").arg(name);
    return QStringLiteral("no records of kind %1 here").arg(name);
}

QString NoSuchRecord(const RecordKind& kind, int number)
{
    return QStringLiteral("%1 %2: no such record").arg(kind.name()).arg(number);
}

std::optional<std::set<const RecordKind*>> ChosenKinds(GameFile& file, const Options& options)
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

std::optional<std::size_t> OnlyKind(const GameFile& file, const std::set<const RecordKind*>& chosen,
                                    const Options& options)
{
    if (options.records.isEmpty())
        return std::nullopt;
    for (std::size_t k = 0; k < file.kinds.size(); ++k)
        if (chosen.count(file.kinds[k].get()))
            return k;
    return std::nullopt;
}

std::optional<RecordFilter> ReadFilter(const RecordKind& kind, const QString& where, const QString& path,
                                       std::ostream& err)
{
    FilterError error;
    auto filter = RecordFilter::parse(kind, where, &error);
    if (!filter)
        Refuse(err, path, QStringLiteral("--where: ") + error.message);
    return filter;
}

}  // namespace varkel::cli
