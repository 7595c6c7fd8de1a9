#include "demo_folder/demo_folder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString usage = QStringLiteral("usage: varkel-demo-folder DIR\n"
                                         "Writes a game folder of made-up data into DIR, to try the editor on.\n");
    QStringList args = app.arguments().mid(1);
    // Options before the folder; after "--" a name that starts with "-" is a folder.
    const bool ended = !args.isEmpty() && args.constFirst() == QStringLiteral("--");
    if (ended)
        args.removeFirst();
    if (!ended && !args.isEmpty() && args.constFirst().startsWith(QLatin1Char('-'))) {
        const QString option = args.constFirst();
        if (option == QStringLiteral("-h") || option == QStringLiteral("--help")) {
            out << usage;
            return 0;
        }
        if (option == QStringLiteral("--version")) {
            out << "varkel-demo-folder " VARKEL_VERSION_STRING "\n";
            return 0;
        }
        err << "varkel-demo-folder: unknown option " << option << " (a folder named so: varkel-demo-folder -- "
            << option << ")\n"
            << usage;
        return 2;
    }
    if (args.size() != 1) {
        err << usage;
        return 2;
    }
    const QString error = varkel::demo::WriteDemoGameFolder(args.constFirst());
    if (!error.isEmpty()) {
        err << "varkel-demo-folder: " << error << "\n";
        return 1;
    }
    return 0;
}
