// Runs one fuzz target without libFuzzer, so every build replays what fuzzing found:
//
//   <name>_replay [--demo-folder DIR] [PATH...]      the seeds, then every file under each PATH
//   <name>_replay [--demo-folder DIR] --write-seeds OUT
//
// The seeds are cut from DIR, or from a demo game folder written to a temporary
// folder. A failed check aborts, after the name of the input it failed on.

#include "fuzz_support.h"

#include "demo_folder/demo_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

void run(const QByteArray& input, const QString& name)
{
    std::fprintf(stderr, "%s\n", qPrintable(name));
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
}

// The files under `path` in name order, or `path` itself; null when it does not exist.
std::optional<QStringList> inputFiles(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return QStringList{path};
    if (!info.isDir())
        return std::nullopt;
    QStringList files;
    for (QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char* argv[])
{
    QString demoFolder;
    QString seedFolder;
    QStringList paths;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if ((arg == QLatin1String("--demo-folder") || arg == QLatin1String("--write-seeds")) && i + 1 < argc)
            (arg == QLatin1String("--demo-folder") ? demoFolder : seedFolder) = QString::fromLocal8Bit(argv[++i]);
        else
            paths << arg;
    }

    QTemporaryDir ownDemo;
    if (demoFolder.isEmpty()) {
        demoFolder = ownDemo.path();
        if (const QString error = varkel::demo::WriteDemoGameFolder(demoFolder); !error.isEmpty()) {
            std::fprintf(stderr, "cannot write the demo game folder: %s\n", qPrintable(error));
            return 1;
        }
    }
    const std::vector<QByteArray> seeds = varkel::fuzz::Seeds(QDir(demoFolder).absolutePath() + QLatin1Char('/'));

    if (!seedFolder.isEmpty()) {
        if (!QDir().mkpath(seedFolder))
            return 1;
        for (std::size_t k = 0; k < seeds.size(); ++k)
            varkel::fuzz::WriteFile(QStringLiteral("%1/seed-%2").arg(seedFolder).arg(k, 3, 10, QLatin1Char('0')),
                                    seeds[k]);
        std::printf("%zu seeds in %s\n", seeds.size(), qPrintable(seedFolder));
        return 0;
    }

    for (std::size_t k = 0; k < seeds.size(); ++k)
        run(seeds[k], QStringLiteral("seed %1").arg(k));
    int replayed = 0;
    for (const QString& path : paths) {
        const auto files = inputFiles(path);
        if (!files) {
            std::fprintf(stderr, "no such file or folder: %s\n", qPrintable(path));
            return 1;
        }
        for (const QString& file : *files) {
            run(varkel::fuzz::ReadFile(file), file);
            ++replayed;
        }
    }
    std::printf("%zu seeds and %d saved inputs passed\n", seeds.size(), replayed);
    return 0;
}
