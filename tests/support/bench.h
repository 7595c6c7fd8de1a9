#pragma once

#include "support/temp_game_folder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace varkel::test {

// What a timing program runs a window on: a fresh demo game folder, a temporary
// folder for bitmaps and scripted prompts and dialogs.
struct BenchSession {
    BenchSession()
    {
        session.prompter = &prompter;
        session.dialogs = &dialogs;
        session.gameFolder = folder.path();
        session.tempFolder = temp.path() + QLatin1Char('/');
        session.banks = PictureBanks::load(folder.file(QStringLiteral("g_maindy.vk")));
    }

    TempGameFolder folder;
    QTemporaryDir temp;
    ScriptedPrompter prompter;
    ScriptedFileDialogs dialogs;
    Session session;
};

// Runs `step(i)` for i = 0..runs-1 and prints the median and spread of its times;
// `prepare(i)`, when given, runs untimed before each step.
inline void TimeRuns(const char* what, int runs, const std::function<void(int)>& step,
                     const std::function<void(int)>& prepare = {})
{
    std::vector<double> ms;
    ms.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare(i);
        QElapsedTimer timer;
        timer.start();
        step(i);
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s, %zu runs on %s: median %.2f ms, min %.2f ms, 90th percentile %.2f ms, max %.2f ms\n", what,
                ms.size(), qPrintable(QApplication::platformName()), ms[ms.size() / 2], ms.front(),
                ms[ms.size() * 9 / 10], ms.back());
}

}  // namespace varkel::test
