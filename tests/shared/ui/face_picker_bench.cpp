// Times how long the face picker takes to draw one page of 28 faces, events
// included. Prints the median and the spread over many page changes.
//   build/tests/face_picker_bench [pages]
#include "shared/temp_folder.h"
#include "shared/ui/face_picker.h"
#include "support/bench.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace varkel;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    QTemporaryDir temp;
    Session session;
    ScriptedPrompter prompter;
    session.prompter = &prompter;
    session.tempFolder = temp.path() + QLatin1Char('/');
    session.banks.faces = QByteArray(kFaceBankSize, '\0');
    for (qsizetype i = 0; i < session.banks.faces.size(); ++i)
        session.banks.faces[i] = static_cast<char>(i * 7 / 64);

    FacePicker form(session, 0);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    auto* next = form.findChild<QPushButton*>(QStringLiteral("Command2"));

    test::TimeRuns("face page (28 faces)", pages, [&](int) { next->click(); });
    return 0;
}
