// Times the editor's start-up as whole processes, each against a floor program (a
// bare Qt Widgets program with one label in the same CJK font), in pairs that
// alternate editor, floor, editor, floor, after one warm-up pair:
//   (a) the start window shown,
//   (b) the start window and the saved-game editor on the newest save shown.
// Prints the median and 90th percentile of the times, their ratio, and the memory of
// each side (peak, and resident, proportional and anonymous when shown),
// then the output of the interaction timing programs built under tests/.
//   build/bench/startup_bench [--runs N] [--game-folder DIR] [--platform NAME] [--no-interaction]
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

// A start-up that does not end by then is waiting for something (a message box
// nobody answers, say) and is killed; the interaction programs take longer.
constexpr std::chrono::seconds kStartUpTimeout(60);
constexpr std::chrono::seconds kInteractionTimeout(600);

struct ChildRun {
    double ms = 0;         // from before fork() to after wait4()
    double peakRssMb = 0;  // the child's own ru_maxrss
    // From the child's /proc/self/smaps_rollup when its windows were shown: resident,
    // proportional (shared pages split among their users) and anonymous memory, the
    // last being what the program itself allocated.
    double rssMb = 0, pssMb = 0, anonMb = 0;
};

struct Children {
    std::vector<std::string> environment;  // what every child runs with
    std::string memoryReport;              // where a child copies its smaps_rollup when shown
    int errorFile = -1;                    // the last child's stderr, shown when it fails
    int nullFile = -1;
};

std::string ErrorOutput(int fd)
{
    std::string text;
    char buffer[4096];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

// Reads the kB figures of an smaps_rollup copy into `run`; leaves them 0 when the
// child wrote none (the interaction programs do not).
void ReadMemoryReport(const std::string& path, ChildRun& run)
{
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, file)) {
        long kb = 0;
        if (std::sscanf(line, "Rss: %ld kB", &kb) == 1)
            run.rssMb = kb / 1024.0;
        else if (std::sscanf(line, "Pss: %ld kB", &kb) == 1)
            run.pssMb = kb / 1024.0;
        else if (std::sscanf(line, "Anonymous: %ld kB", &kb) == 1)
            run.anonMb = kb / 1024.0;
    }
    std::fclose(file);
    std::remove(path.c_str());
}

// The strings as the null-terminated list of pointers execve() takes.
std::vector<char*> CStrings(const std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (const std::string& string : strings)
        pointers.push_back(const_cast<char*>(string.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// The child's side of Run: SIGCHLD unblocked again, stdout and stderr where Run
// wants them, then the program.
[[noreturn]] void RunChild(const Children& children, const std::vector<char*>& args, const std::vector<char*>& env,
                           const sigset_t& childSignal, bool passStdout)
{
    sigprocmask(SIG_UNBLOCK, &childSignal, nullptr);
    if (!passStdout)
        dup2(children.nullFile, STDOUT_FILENO);
    dup2(children.errorFile, STDERR_FILENO);
    execve(args[0], args.data(), env.data());
    std::fprintf(stderr, "cannot run %s: %s\n", args[0], std::strerror(errno));
    _exit(127);
}

// Waits for child `pid` (the program `name`) to end, `timeout` after `start` at
// the most; false, with its stderr shown, when it was killed then.
bool WaitForChild(const Children& children, pid_t pid, const char* name, std::chrono::steady_clock::time_point start,
                  std::chrono::seconds timeout, const sigset_t& childSignal, int& status, rusage& usage)
{
    const auto deadline = start + timeout;
    for (;;) {
        const pid_t ended = wait4(pid, &status, WNOHANG, &usage);
        if (ended == pid)
            return true;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero()) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            std::fprintf(stderr, "startup_bench: %s did not end within %lld s and was killed (a message box?)\n",
                         name, static_cast<long long>(timeout.count()));
            std::fprintf(stderr, "%s", ErrorOutput(children.errorFile).c_str());
            return false;
        }
        const auto leftNs = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec wait{static_cast<time_t>(leftNs / 1000000000), static_cast<long>(leftNs % 1000000000)};
        sigtimedwait(&childSignal, nullptr, &wait);
    }
}

// Whether the program `name` ended with status 0; else says how it ended, and its stderr.
bool EndedWell(const Children& children, const char* name, int status)
{
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    if (WIFSIGNALED(status))
        std::fprintf(stderr, "startup_bench: %s ended by signal %d\n", name, WTERMSIG(status));
    else
        std::fprintf(stderr, "startup_bench: %s ended with status %d\n", name, WEXITSTATUS(status));
    std::fprintf(stderr, "%s", ErrorOutput(children.errorFile).c_str());
    return false;
}

// Runs `argv` to its end, its stdout passed through or discarded and its stderr kept
// aside. SIGCHLD is blocked in the whole program (see main), so its arrival is
// waited for with sigtimedwait() and no end goes unnoticed.
std::optional<ChildRun> Run(const Children& children, const std::vector<std::string>& argv,
                            std::chrono::seconds timeout = kStartUpTimeout, bool passStdout = false)
{
    const std::vector<char*> args = CStrings(argv);
    const std::vector<char*> env = CStrings(children.environment);
    if (ftruncate(children.errorFile, 0) != 0 || lseek(children.errorFile, 0, SEEK_SET) != 0) {
        std::fprintf(stderr, "startup_bench: cannot reset the error file: %s\n", std::strerror(errno));
        return std::nullopt;
    }
    std::fflush(stdout);
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::fprintf(stderr, "startup_bench: fork: %s\n", std::strerror(errno));
        return std::nullopt;
    }
    if (pid == 0)
        RunChild(children, args, env, childSignal, passStdout);

    int status = 0;
    rusage usage{};
    if (!WaitForChild(children, pid, args[0], start, timeout, childSignal, status, usage))
        return std::nullopt;
    const auto end = std::chrono::steady_clock::now();
    if (!EndedWell(children, args[0], status))
        return std::nullopt;
    ChildRun run{std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss / 1024.0};
    ReadMemoryReport(children.memoryReport, run);
    return run;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - static_cast<double>(below));
}

// What one side of a comparison measured, a column per child run.
struct Side {
    std::vector<double> ms, peakRssMb, rssMb, pssMb, anonMb;
    void add(const ChildRun& run)
    {
        ms.push_back(run.ms);
        peakRssMb.push_back(run.peakRssMb);
        rssMb.push_back(run.rssMb);
        pssMb.push_back(run.pssMb);
        anonMb.push_back(run.anonMb);
    }
};

struct Comparison {
    Side editor, floor;
};

// One warm-up pair, then `runs` pairs of editor and floor, one child at a time.
std::optional<Comparison> Compare(const Children& children, const std::vector<std::string>& editor,
                                  const std::vector<std::string>& floor, int runs)
{
    Comparison c;
    for (int i = -1; i < runs; ++i) {
        const auto a = Run(children, editor);
        if (!a)
            return std::nullopt;
        const auto b = Run(children, floor);
        if (!b)
            return std::nullopt;
        if (i < 0)
            continue;
        c.editor.add(*a);
        c.floor.add(*b);
    }
    return c;
}

void PrintFigure(const char* what, const std::vector<double>& editor, const std::vector<double>& floor, bool ratio)
{
    const double e = Percentile(editor, 0.5), f = Percentile(floor, 0.5);
    std::printf("  %-14s %8.1f %8.1f %8.1f %8.1f  ", what, e, Percentile(editor, 0.9), f, Percentile(floor, 0.9));
    if (ratio)
        std::printf("ratio %.2f\n", e / f);
    else
        std::printf("diff %+.1f\n", e - f);
}

void PrintComparison(const char* what, const Comparison& c)
{
    std::printf("%s\n", what);
    PrintFigure("time ms", c.editor.ms, c.floor.ms, true);
    PrintFigure("peak RSS MB", c.editor.peakRssMb, c.floor.peakRssMb, false);
    PrintFigure("shown RSS MB", c.editor.rssMb, c.floor.rssMb, false);
    PrintFigure("shown PSS MB", c.editor.pssMb, c.floor.pssMb, false);
    PrintFigure("shown anon MB", c.editor.anonMb, c.floor.anonMb, false);
}

std::vector<std::string> EnvironmentWith(const std::string& name, const std::string& value)
{
    std::vector<std::string> env;
    const std::string prefix = name + '=';
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0)
            env.emplace_back(*entry);
    env.push_back(prefix + value);
    return env;
}

// The benchmark's command line.
struct BenchOptions {
    QCommandLineParser parser;
    const QCommandLineOption runs{QStringLiteral("runs"),
                                  QStringLiteral("Pairs of editor and floor runs per comparison (default 20)."),
                                  QStringLiteral("N"), QStringLiteral("20")};
    const QCommandLineOption gameFolder{
        QStringLiteral("game-folder"), QStringLiteral("Start the editor on DIR (default: a new demo game folder)."),
        QStringLiteral("DIR")};
    const QCommandLineOption platform{QStringLiteral("platform"),
                                      QStringLiteral("QT_QPA_PLATFORM of the children (default offscreen)."),
                                      QStringLiteral("NAME"), QStringLiteral("offscreen")};
    const QCommandLineOption interactionRuns{
        QStringLiteral("interaction-runs"),
        QStringLiteral("Runs handed to each interaction timing program (default: its own)."), QStringLiteral("N")};
    const QCommandLineOption noInteraction{QStringLiteral("no-interaction"),
                                           QStringLiteral("Skip the interaction timing programs.")};

    BenchOptions()
    {
        parser.setApplicationDescription(QStringLiteral(
            "Times the editor's start-up as whole processes against a bare Qt program with one Chinese label."));
        parser.addHelpOption();
        parser.addOptions({runs, gameFolder, platform, interactionRuns, noInteraction});
    }
};

// The game folder the editor starts on, absolute: the one given, or else a demo
// folder written into `demoParent`. Nothing, said on stderr, when that cannot be written.
std::optional<QString> GameFolder(const QString& given, const QTemporaryDir& demoParent)
{
    QString gameFolder = given;
    if (gameFolder.isEmpty()) {
        gameFolder = demoParent.filePath(QStringLiteral("demo-game"));
        const QString error = demoParent.isValid() ? varkel::demo::WriteDemoGameFolder(gameFolder)
                                                   : QStringLiteral("no temporary folder");
        if (!error.isEmpty()) {
            std::fprintf(stderr, "startup_bench: cannot write the demo game folder: %s\n", qPrintable(error));
            return std::nullopt;
        }
    }
    return QDir(gameFolder).absolutePath();
}

// What every child runs with: the platform, a memory report in `reportFolder`,
// stdout to /dev/null and stderr to a file of its own. False, said on stderr,
// when those files cannot be opened.
bool PrepareChildren(Children& children, const QString& platform, const QTemporaryDir& reportFolder)
{
    children.environment = EnvironmentWith("QT_QPA_PLATFORM", platform.toStdString());
    children.memoryReport = reportFolder.filePath(QStringLiteral("smaps_rollup")).toStdString();
    children.environment.push_back("VARKEL_SHOWN_MEMORY_REPORT=" + children.memoryReport);
    children.nullFile = open("/dev/null", O_WRONLY | O_CLOEXEC);
    FILE* errorFile = std::tmpfile();
    if (children.nullFile < 0 || !errorFile) {
        std::fprintf(stderr, "startup_bench: cannot open /dev/null or a temporary file\n");
        return false;
    }
    children.errorFile = fileno(errorFile);
    return true;
}

// Times (a) and (b) on `gameFolder` and prints the figures; false when a child failed.
bool TimeStartUp(const Children& children, const QString& gameFolder, bool demo, const QString& newest,
                 const QString& platform, int runs)
{
    const std::string editor = VARKEL_EDITOR_PATH;
    const std::string folder = gameFolder.toStdString();
    const std::vector<std::string> startWindow = {editor, "--quit-when-shown", "--game-folder", folder};
    std::vector<std::string> saveEditor = startWindow;
    saveEditor.insert(saveEditor.end(), {"--open", "save-editor"});
    const std::vector<std::string> floor = {VARKEL_FLOOR_PATH};

    std::printf("Start-up as whole processes: %d pair%s (editor, floor, ...) after one warm-up pair, on %s\n", runs,
                runs == 1 ? "" : "s", qPrintable(platform));
    // Other work on the machine shows in the figures; the load says how much there was.
    double load[3] = {};
    getloadavg(load, 3);
    std::printf("game folder %s%s, newest save %s; load average %.2f %.2f %.2f\n", folder.c_str(),
                demo ? " (demo)" : "", qPrintable(QFileInfo(newest).fileName()), load[0], load[1], load[2]);
    std::printf("  %-14s %8s %8s %8s %8s\n", "", "editor", "editor", "floor", "floor");
    std::printf("  %-14s %8s %8s %8s %8s\n", "", "median", "p90", "median", "p90");
    const auto a = Compare(children, startWindow, floor, runs);
    if (!a)
        return false;
    PrintComparison("(a) start window (Form3)", *a);
    const auto b = Compare(children, saveEditor, floor, runs);
    if (!b)
        return false;
    PrintComparison(
        qPrintable(QStringLiteral("(b) start window + Form4 on %1").arg(QFileInfo(newest).fileName())), *b);
    std::printf("(peak RSS is ru_maxrss from wait4; shown RSS, PSS and anonymous memory are the child's\n"
                " /proc/self/smaps_rollup when its windows were shown; anonymous memory is what it allocated)\n");
    return true;
}

// Runs the interaction timing programs built under tests/, their output shown;
// the exit status of the benchmark.
int RunInteractionPrograms(const Children& children, const BenchOptions& options)
{
    const QDir testsFolder(QStringLiteral(VARKEL_TESTS_BINARY_DIR));
    const QStringList programs =
        testsFolder.entryList({QStringLiteral("*_bench")}, QDir::Files | QDir::Executable, QDir::Name);
    if (programs.isEmpty()) {
        std::printf("\nNo interaction timing programs in %s (build the *_bench targets).\n", VARKEL_TESTS_BINARY_DIR);
        return 0;
    }
    std::printf("\nInteraction timings (in-process, %s):\n", VARKEL_TESTS_BINARY_DIR);
    for (const QString& program : programs) {
        std::printf("\n%s\n", qPrintable(program));
        std::vector<std::string> command = {testsFolder.filePath(program).toStdString()};
        if (options.parser.isSet(options.interactionRuns))
            command.push_back(options.parser.value(options.interactionRuns).toStdString());
        if (!Run(children, command, kInteractionTimeout, true))
            return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Blocked before anything could start a thread, so every thread inherits it and
    // the end of a child is always there for sigtimedwait() in Run.
    sigset_t childSignal;
    sigemptyset(&childSignal);
    sigaddset(&childSignal, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignal, nullptr);

    QCoreApplication app(argc, argv);
    BenchOptions options;
    const QCommandLineParser& parser = options.parser;
    options.parser.process(app);

    bool runsOk = false;
    const int runs = parser.value(options.runs).toInt(&runsOk);
    if (!runsOk || runs < 1) {
        std::fprintf(stderr, "startup_bench: --runs needs a number of at least 1\n");
        return 2;
    }
    const QString platform = parser.value(options.platform);

    QTemporaryDir demoParent;
    const QString given = parser.value(options.gameFolder);
    const std::optional<QString> gameFolder = GameFolder(given, demoParent);
    if (!gameFolder)
        return 1;
    const QString newest = varkel::SaveGame::newestSlot(*gameFolder + QLatin1Char('/'));
    if (newest.isEmpty()) {
        std::fprintf(stderr, "startup_bench: %s holds no saved game to open\n", qPrintable(*gameFolder));
        return 2;
    }

    Children children;
    QTemporaryDir reportFolder;
    if (!PrepareChildren(children, platform, reportFolder))
        return 1;
    if (!TimeStartUp(children, *gameFolder, given.isEmpty(), newest, platform, runs))
        return 1;
    if (parser.isSet(options.noInteraction))
        return 0;
    return RunInteractionPrograms(children, options);
}
