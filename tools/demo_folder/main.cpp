#include "demo_folder/demo_folder.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: varkel-demo-folder DIR\n";
        return 2;
    }
    const QString error = varkel::demo::WriteDemoGameFolder(args[1]);
    if (!error.isEmpty()) {
        err << "varkel-demo-folder: " << error << "\n";
        return 1;
    }
    return 0;
}
