#pragma once

#include "shared/seams.h"
#include "shared/session.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace varkel::test {

// A freshly written demo game folder in a temporary directory, removed afterwards.
class TempGameFolder {
public:
    TempGameFolder();
    QString path() const;  // with a trailing separator
    QString file(const QString& name) const { return path() + name; }

private:
    QTemporaryDir dir_;
};

// What a window test starts each test from: a fresh demo folder, a temporary
// folder for bitmaps and backups, scripted prompts and dialogs, and a session over
// them. Test classes inherit it after QObject and call prepare() in init().
class EditorFixture {
protected:
    void prepare();

    // The control named `name` in `form`; a missing one ends the test program.
    template <typename T>
    static T* control(QObject& form, const QString& name)
    {
        T* w = form.findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    std::unique_ptr<TempGameFolder> folder_;
    std::unique_ptr<QTemporaryDir> temp_;
    Session session_;
    ScriptedPrompter prompter_;
    ScriptedFileDialogs dialogs_;
};

}  // namespace varkel::test
