// Opening saves in the saved-game editor without the Open dialog: a file dropped
// on the window and the recent-files menu, both as File > Open would.
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/recent_files.h"
#include "shared/texts.h"
#include "support/drags.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace varkel;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

// A full disk for one file alone: every write to it fails, every other file is
// read and written as usual.
class FullDiskFor : public FileIo {
public:
    explicit FullDiskFor(QString path) : path_(std::move(path)) {}

    qint64 write(QIODevice& device, const char* data, qint64 size) override
    {
        const auto* file = qobject_cast<QFileDevice*>(&device);
        return file && file->fileName() == path_ ? -1 : device.write(data, size);
    }

private:
    QString path_;
};

}  // namespace

class Form4FilesTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString slot(int k) const { return SaveGame::slotPath(session_.gameFolder, k); }

    std::unique_ptr<SaveGameEditor> openForm()
    {
        std::unique_ptr<SaveGameEditor> form = test::OpenSaveEditor(session_);
        form->show();
        return form;
    }

    // Drops `path` on the list of officers, as from a file manager; the file opens
    // once the drop is over.
    static void dropFile(SaveGameEditor& form, const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QVERIFY(test::Drag(*form.column().List1, data).dropTaken);
        QCoreApplication::processEvents();
    }

    // An unsaved change to officer 0.
    void changeOfficer(SaveGameEditor& form)
    {
        test::Retype(form.findChild<QLineEdit*>(QStringLiteral("Text3(15)")), QStringLiteral("1"));
        form.modes().Command7[0]->click();
        QVERIFY(form.modified());
    }

    QStringList recentMenu(SaveGameEditor& form)
    {
        emit form.menus().tRecent->aboutToShow();
        QStringList shown;
        for (QAction* item : form.menus().tRecent->actions())
            shown << item->text();
        return shown;
    }

private slots:
    void init()
    {
        prepare();
        session_.settingsPath = temp_->filePath(QStringLiteral("VarkelEditor.ini"));
    }

    void aDroppedFileOpensAsThroughTheOpenDialog_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("changedFirst");
        QTest::addColumn<Answer>("saveAnswer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("a save opens") << qint64(-1) << false << Answer::Cancel << true;
        QTest::newRow("the shortest save the Open dialog takes")
            << save::kOpenMinimumSize << false << Answer::Cancel << true;
        QTest::newRow("one byte shorter is refused") << save::kOpenMinimumSize - 1 << false << Answer::Cancel << false;
        QTest::newRow("unsaved changes: no goes on") << qint64(-1) << true << Answer::No << true;
        QTest::newRow("unsaved changes: cancel stays") << qint64(-1) << true << Answer::Cancel << false;
    }
    void aDroppedFileOpensAsThroughTheOpenDialog()
    {
        QFETCH(qint64, size);
        QFETCH(bool, changedFirst);
        QFETCH(Answer, saveAnswer);
        QFETCH(bool, opened);
        // Outside the game folder, so it is not the newest save the editor starts on.
        const QString other = temp_->filePath(QStringLiteral("dropped.sav"));
        QByteArray bytes = test::FileBytes(slot(2));
        if (size >= 0)
            bytes.resize(size);
        QVERIFY(test::WriteFileBytes(other, bytes));
        auto form = openForm();
        if (changedFirst) {
            changeOfficer(*form);
            prompter_.answers = {saveAnswer};
        }
        const QByteArray before = form->saveGame().bytes;

        dropFile(*form, other);

        QCOMPARE(form->saveGame().path == other, opened);
        QCOMPARE(form->saveGame().bytes == before, !opened);
        QCOMPARE(form->windowTitle().startsWith(QFileInfo(other).fileName()), opened);
        if (changedFirst)
            QCOMPARE(prompter_.shown.front().text, GetResText(Text::SaveChanges));
        if (size >= 0 && !opened)
            QCOMPARE(prompter_.shown.back().text, GetResText(Text::FileDamaged));
        QCOMPARE(form->modified(), changedFirst && !opened);
    }

    // The saved-game editor's file dialogs call its files saved games (the
    // new-officer file's label was reused for them before).
    void theFileDialogsCallSavedGamesSo_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("open") << QStringLiteral("tOpenFile") << QStringLiteral("Svd_0*.sav");
        QTest::newRow("save as") << QStringLiteral("tSaveAs") << QStringLiteral("Svd_0*.sav");
        QTest::newRow("compare") << QStringLiteral("tCompare") << QStringLiteral("*.sav *.sav.*");
    }

    void theFileDialogsCallSavedGamesSo()
    {
        QFETCH(QString, action);
        QFETCH(QString, pattern);
        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session_));
        QVERIFY(form);
        if (action == QStringLiteral("tSaveAs"))
            changeOfficer(*form);  // offered once there is something to save
        form->findChild<QAction*>(action)->trigger();  // no answer queued: cancelled
        QCOMPARE(dialogs_.requests.size(), std::size_t(1));
        QCOMPARE(dialogs_.requests.back().filterLabel, QStringLiteral("Varkel遊戲存檔"));
        QCOMPARE(dialogs_.requests.back().filterPattern, pattern);
    }

    void recentFilesListWhatWasOpenedAndOpenIt()
    {
        auto form = openForm();
        QVERIFY(!form->menus().tRecent->isEnabled() || recentMenu(*form).isEmpty());
        dropFile(*form, slot(1));
        dropFile(*form, slot(3));
        dropFile(*form, slot(1));  // again: moves to the top, once
        QStringList shown = recentMenu(*form);
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].endsWith(QFileInfo(slot(1)).fileName()));
        QVERIFY(shown[1].endsWith(QFileInfo(slot(3)).fileName()));

        form->menus().tRecent->actions().at(1)->trigger();
        QCOMPARE(form->saveGame().path, slot(3));

        // A file gone since is not offered.
        QFile::remove(slot(1));
        shown = recentMenu(*form);
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].endsWith(QFileInfo(slot(3)).fileName()));
    }

    // The recent-files list cannot be written (a full disk): what was opened or
    // saved stays so, the status line says the list was not kept, and the
    // settings file is as it was.
    void aRecentListThatCannotBeWrittenIsTold_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("done");
        QTest::newRow("a dropped file") << "drop" << "已打開";
        QTest::newRow("a slot from the menu") << "slot" << "已打開";
        QTest::newRow("save as") << "save as" << "已保存";
    }
    void aRecentListThatCannotBeWrittenIsTold()
    {
        QFETCH(QString, how);
        QFETCH(QString, done);
        QVERIFY(!AddRecentFile(session_.settingsPath, slot(3)));
        const QByteArray before = test::FileBytes(session_.settingsPath);
        auto form = openForm();
        FullDiskFor io(session_.settingsPath);
        const auto usingIo = test::UseIo(session_.files, io);

        QString path = slot(1);
        if (how == "drop") {
            dropFile(*form, path);
        } else if (how == "slot") {
            form->findChild<QAction*>(QStringLiteral("sSavSum(1)"))->trigger();
        } else {
            path = temp_->filePath(QStringLiteral("saved-as.sav"));
            changeOfficer(*form);
            dialogs_.saves = {path};
            form->findChild<QAction*>(QStringLiteral("tSaveAs"))->trigger();
            QVERIFY(QFile::exists(path));
            QVERIFY(!form->modified());
        }

        QCOMPARE(form->saveGame().path, path);
        QVERIFY(prompter_.shown.empty());
        const QString status = form->findChild<QStatusBar*>(QStringLiteral("StatusLine"))->currentMessage();
        QVERIFY2(status.startsWith(done), qPrintable(status));
        QVERIFY2(status.endsWith(QStringLiteral("；最近打開的文件列表未能保存：75-路徑/文件訪問錯誤：") +
                                 session_.settingsPath),
                 qPrintable(status));
        QVERIFY(test::FileBytes(session_.settingsPath) == before);
        QCOMPARE(ReadRecentFiles(session_.settingsPath), QStringList{slot(3)});
    }
};

QTEST_MAIN(Form4FilesTest)
#include "save_game_editor_files_uitest.moc"
