#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace varkel {

// The places where the program meets the user outside its own windows: message
// boxes and file dialogs. Windows call these, never QMessageBox or QFileDialog, so
// tests can answer them.

enum class MessageIcon { Information, Question, Warning, Critical };
// The ...Default... sets make the safe answer the one Enter gives, for a question
// whose Yes is the risky answer; in the others Enter gives Ok or Yes.
enum class MessageButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo, YesNoCancelDefaultCancel };
enum class Answer { Ok, Yes, No, Cancel };

// The answer Enter gives.
constexpr Answer DefaultAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return Answer::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return Answer::Yes;
    case MessageButtons::YesNoDefaultNo:
        return Answer::No;
    case MessageButtons::YesNoCancelDefaultCancel:
        break;
    }
    return Answer::Cancel;
}

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon) = 0;
    void tell(const QString& text, const QString& title, MessageIcon icon)
    {
        ask(text, title, MessageButtons::Ok, icon);
    }
    // Yes, No or Cancel about doing something first: Yes does it and gives its
    // result (false when it failed), No gives true (go on without it), Cancel false.
    bool askToDo(const QString& text, const QString& title, const std::function<bool()>& doIt)
    {
        switch (ask(text, title, MessageButtons::YesNoCancel, MessageIcon::Question)) {
        case Answer::Yes:
            return doIt();
        case Answer::No:
            return true;
        default:
            return false;
        }
    }
};

// A file dialog's filter (label and pattern), title and start folder.
struct FileDialogRequest {
    QString filterLabel;
    QString filterPattern;
    QString title;
    QString initialFolder;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Each returns the chosen path, or an empty string when the user cancels.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    virtual QString chooseFolder(const QString& prompt) = 0;
};

// The chosen file, trimmed, or empty on cancel.
QString ShowOpenDialog(FileDialogs& dialogs, const FileDialogRequest& request);
QString ShowSaveDialog(FileDialogs& dialogs, const FileDialogRequest& request);

// The chosen folder without a trailing separator (unless it is a root), or empty.
QString BrowseForFolder(FileDialogs& dialogs, const QString& prompt);

// A prompter that answers from a queue and records what it was shown; tests and
// scripted runs use it. An empty queue answers Ok, or Cancel for a question.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString text;
        QString title;
        MessageButtons buttons;
        MessageIcon icon;
        // What Enter would have given.
        Answer defaultAnswer() const { return DefaultAnswer(buttons); }
    };

    Answer ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon) override
    {
        shown.push_back({text, title, buttons, icon});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }

    std::deque<Answer> answers;
    std::vector<Shown> shown;
};

// File dialogs that answer from queues of paths; an empty queue cancels.
class ScriptedFileDialogs : public FileDialogs {
public:
    QString openFile(const FileDialogRequest& request) override { return next(opens, request); }
    QString saveFile(const FileDialogRequest& request) override { return next(saves, request); }
    QString chooseFolder(const QString& prompt) override
    {
        folderPrompts.push_back(prompt);
        if (folders.empty())
            return {};
        QString f = folders.front();
        folders.pop_front();
        return f;
    }

    std::deque<QString> opens, saves, folders;
    std::vector<FileDialogRequest> requests;
    std::vector<QString> folderPrompts;

private:
    QString next(std::deque<QString>& queue, const FileDialogRequest& request)
    {
        requests.push_back(request);
        if (queue.empty())
            return {};
        QString p = queue.front();
        queue.pop_front();
        return p;
    }
};

}  // namespace varkel
