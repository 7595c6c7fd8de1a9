#include "support/temp_game_folder.h"

#include "demo_folder/demo_folder.h"

#include <stdexcept>

namespace varkel::test {

TempGameFolder::TempGameFolder()
{
    const QString error = demo::WriteDemoGameFolder(path());
    if (!dir_.isValid() || !error.isEmpty())
        throw std::runtime_error(("cannot write demo folder: " + error).toStdString());
}

QString TempGameFolder::path() const
{
    return dir_.path() + QLatin1Char('/');
}

}  // namespace varkel::test
