#pragma once

#include "shared/seams.h"

#include <QPointer>
#include <QWidget>

namespace varkel {

// Message boxes with the requested icon, buttons, text and title.
class MessageBoxPrompter : public Prompter {
public:
    Answer ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon) override;
};

// QFileDialog behind the file-dialog seam, owned by the active window. Besides the
// requested filter it offers every saved game and every file.
class QtFileDialogs : public FileDialogs {
public:
    QString openFile(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString chooseFolder(const QString& prompt) override;
};

}  // namespace varkel
