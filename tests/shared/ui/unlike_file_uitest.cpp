// Files that do not look like a saved game or a system save: the editors ask
// before opening one, "No" keeps what was open, and one opened anyway shows its
// odd values without asking about edits nobody made.
#include "neweditor/system_save.h"
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/unlike_file.h"
#include "support/drags.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <memory>

using namespace varkel;

using Plant = std::function<void(QByteArray& save, qsizetype personBlock)>;

namespace {

enum class Route { OpenDialog, Slot, Drop, Recent };
enum class Content { Text, ChineseText, Zeros, Random, DemoSave };

}  // namespace

Q_DECLARE_METATYPE(varkel::Answer)
Q_DECLARE_METATYPE(Route)
Q_DECLARE_METATYPE(Content)
Q_DECLARE_METATYPE(Plant)

namespace {

// `size` bytes of `content`; a demo save is slot 2's, whatever its size.
QByteArray contentBytes(Content content, qsizetype size, const QString& demoSave)
{
    switch (content) {
    case Content::Text:
        return test::Repeated("This is a plain text file, not a saved game of Varkel; it only has the size of one.\n",
                              size);
    case Content::ChineseText:
        // Its bytes decode as Big5 characters, so names read as names.
        return test::Repeated(QStringLiteral("這是一個文本文件，不是遊戲的存檔，只是大小一樣。\r\n").toUtf8(), size);
    case Content::Zeros:
        return QByteArray(size, '\0');
    case Content::Random:
        return test::RandomBytes(size, 7);
    case Content::DemoSave:
        break;
    }
    return test::FileBytes(demoSave);
}

// Writes `bytes` over `path`; a file of the game folder keeps its time, so it
// does not become the newest save.
bool replaceFile(const QString& path, const QByteArray& bytes)
{
    const bool existed = QFileInfo::exists(path);
    const QDateTime time = QFileInfo(path).lastModified();
    if (!test::WriteFileBytes(path, bytes))
        return false;
    QFile file(path);
    return !existed || (file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime));
}

void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

}  // namespace

class UnlikeFileTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString slot(int k) const { return SaveGame::slotPath(session_.gameFolder, k); }

    // How many times `question` was shown.
    int asked(const char* question) const
    {
        return int(std::count_if(prompter_.shown.begin(), prompter_.shown.end(), [&](const ScriptedPrompter::Shown& s) {
            return s.text == QString::fromUtf8(question);
        }));
    }

    // The one thing shown is the question, as the program's other questions are asked.
    void verifyOnlyQuestion(const char* question)
    {
        QCOMPARE(prompter_.shown.size(), std::size_t(1));
        const ScriptedPrompter::Shown& shown = prompter_.shown.front();
        QCOMPARE(shown.text, QString::fromUtf8(question));
        QCOMPARE(shown.title, QStringLiteral("Varkel-Editor"));
        QCOMPARE(shown.buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(shown.icon, MessageIcon::Question);
    }

    // Opens `path` in `form` the way `route` does; the slot route opens slot 8.
    void openBy(SaveGameEditor& form, Route route, const QString& path)
    {
        switch (route) {
        case Route::OpenDialog:
            dialogs_.opens = {path};
            form.menus().tOpenFile->trigger();
            break;
        case Route::Slot:
            QCOMPARE(path, slot(8));
            form.menus().sSavSum[8]->trigger();
            break;
        case Route::Drop: {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QVERIFY(test::Drag(*form.column().List1, data).dropTaken);
            QCoreApplication::processEvents();
            break;
        }
        case Route::Recent: {
            emit form.menus().tRecent->aboutToShow();
            const auto items = form.menus().tRecent->actions();
            const auto item = std::find_if(items.begin(), items.end(), [&](QAction* a) {
                return a->text().endsWith(QDir::toNativeSeparators(path));
            });
            QVERIFY(item != items.end());
            (*item)->trigger();
            break;
        }
        }
    }

    // Clicks through the first rows of every list the window shows a file's
    // records in, changing mode on the way, and closes it.
    void leaveEveryRecordAndClose(SaveGameEditor& form)
    {
        constexpr int kRows = 40;
        for (int row = 1; row < kRows; ++row)
            clickRow(form.column().List1, row);
        QCOMPARE(form.column().List1->currentRow(), kRows - 1);
        const std::array<std::pair<int, QListWidget*>, 2> modes = {
            {{1, form.modes().treasurePanel()->List2}, {2, form.modes().relationPanel()->List3}}};
        for (const auto& [mode, list] : modes) {
            form.modes().Option3[mode]->click();
            QVERIFY(form.modes().Option3[mode]->isChecked());
            for (int row = 1; row < kRows; ++row)
                clickRow(list, row);
            QCOMPARE(list->currentRow(), kRows - 1);
        }
        form.modes().Option3[0]->click();
        QVERIFY(form.modes().Option3[0]->isChecked());
        QVERIFY(form.close());
    }

private slots:
    void init()
    {
        prepare();
        session_.settingsPath = temp_->filePath(QStringLiteral("VarkelEditor.ini"));
    }

    void aFileThatIsNoSaveIsAskedAbout_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<Content>("content");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("opens");
        QTest::newRow("open dialog: text, yes") << Route::OpenDialog << Content::Text << Answer::Yes << true;
        QTest::newRow("open dialog: text, no") << Route::OpenDialog << Content::Text << Answer::No << false;
        QTest::newRow("open dialog: zeros, no") << Route::OpenDialog << Content::Zeros << Answer::No << false;
        QTest::newRow("open dialog: random bytes, no") << Route::OpenDialog << Content::Random << Answer::No << false;
        QTest::newRow("open dialog: a save asks nothing")
            << Route::OpenDialog << Content::DemoSave << Answer::No << true;
        QTest::newRow("slot menu: text, yes") << Route::Slot << Content::Text << Answer::Yes << true;
        QTest::newRow("slot menu: text, no") << Route::Slot << Content::Text << Answer::No << false;
        QTest::newRow("slot menu: a save asks nothing") << Route::Slot << Content::DemoSave << Answer::No << true;
        QTest::newRow("dropped: text, yes") << Route::Drop << Content::Text << Answer::Yes << true;
        QTest::newRow("dropped: text, no") << Route::Drop << Content::Text << Answer::No << false;
        QTest::newRow("recent files: text, yes") << Route::Recent << Content::Text << Answer::Yes << true;
        QTest::newRow("recent files: text, no") << Route::Recent << Content::Text << Answer::No << false;
    }
    void aFileThatIsNoSaveIsAskedAbout()
    {
        QFETCH(Route, route);
        QFETCH(Content, content);
        QFETCH(Answer, answer);
        QFETCH(bool, opens);
        // Slot 8 is not the newest, so the window starts on another save.
        const QString path = route == Route::Slot ? slot(8) : temp_->filePath(QStringLiteral("chosen.sav"));
        const QByteArray bytes = contentBytes(content, save::kStartupBufferSize, slot(2));
        if (route == Route::Recent) {
            // Opened once, while it still was a save.
            QVERIFY(replaceFile(path, test::FileBytes(slot(2))));
            auto first = test::OpenSaveEditor(session_);
            dialogs_.opens = {path};
            first->menus().tOpenFile->trigger();
            QCOMPARE(first->saveGame().path, path);
        }
        QVERIFY(replaceFile(path, bytes));
        auto form = test::OpenSaveEditor(session_);
        form->show();
        clickRow(form->column().List1, 3);
        const QString before = form->saveGame().path;
        const QByteArray beforeBytes = form->saveGame().bytes;
        prompter_.shown.clear();
        prompter_.answers = {answer};

        openBy(*form, route, path);

        if (content == Content::DemoSave)
            QCOMPARE(prompter_.shown.size(), std::size_t(0));
        else
            verifyOnlyQuestion(kUnlikeSaveQuestion);
        QCOMPARE(form->saveGame().path, opens ? path : before);
        QCOMPARE(form->saveGame().bytes, opens ? bytes : beforeBytes);
        // "No" leaves the window as it was: on the same officer, nothing to save.
        QCOMPARE(form->column().List1->currentRow(), opens ? 0 : 3);
        QCOMPARE(form->menus().sSavSum[8]->isChecked(), opens && route == Route::Slot);
        QVERIFY(!form->modified());
    }

    // A file opened anyway keeps what it holds until the user changes something:
    // leaving its records, changing mode and closing ask nothing.
    void aFileOpenedAnywayAsksNothingAboutEdits_data()
    {
        QTest::addColumn<Content>("content");
        QTest::newRow("text") << Content::Text;
        QTest::newRow("Chinese text") << Content::ChineseText;
        QTest::newRow("zeros") << Content::Zeros;
        QTest::newRow("random bytes") << Content::Random;
    }
    void aFileOpenedAnywayAsksNothingAboutEdits()
    {
        QFETCH(Content, content);
        const QString path = temp_->filePath(QStringLiteral("notes.txt"));
        const QByteArray bytes = contentBytes(content, save::kStartupBufferSize, QString());
        QVERIFY(replaceFile(path, bytes));
        auto form = test::OpenSaveEditor(session_);
        form->show();
        prompter_.answers = {Answer::Yes};
        dialogs_.opens = {path};
        form->menus().tOpenFile->trigger();
        QCOMPARE(form->saveGame().path, path);
        prompter_.shown.clear();

        leaveEveryRecordAndClose(*form);

        QCOMPARE(asked(kPendingEditsQuestion), 0);
        QCOMPARE(prompter_.shown.size(), std::size_t(0));
        QCOMPARE(form->saveGame().bytes, bytes);
    }

    // Values of a person block the officer view shows otherwise than stored: kept
    // while the user changes nothing, so leaving and applying the officer change
    // no byte.
    void oddPersonValuesAreKeptUntilChanged_data()
    {
        QTest::addColumn<Plant>("plant");
        const auto face = [](int n) {
            return Plant([n](QByteArray& b, qsizetype at) { setLe16(b, at + person::kFace, n); });
        };
        QTest::newRow("a face the bank wraps") << face(900);
        QTest::newRow("a face beyond the bank") << face(5000);
        QTest::newRow("a full name that is not surname and given name") << Plant([](QByteArray& b, qsizetype at) {
            WriteNameField(b, at + person::kFullName, QStringLiteral("別名"));
        });
        QTest::newRow("a full name of single bytes") << Plant([](QByteArray& b, qsizetype at) {
            b.replace(at + person::kFullName, 9, QByteArray("Lu Bu X\0\0", 9));
        });
    }
    void oddPersonValuesAreKeptUntilChanged()
    {
        QFETCH(Plant, plant);
        constexpr int kOfficer = 3;
        QByteArray bytes = test::FileBytes(slot(8));
        plant(bytes, save::personBlock(kOfficer));
        QVERIFY(replaceFile(slot(8), bytes));
        auto form = test::OpenSaveEditor(session_);
        form->show();
        form->menus().sSavSum[8]->trigger();
        QCOMPARE(form->saveGame().bytes, bytes);

        clickRow(form->column().List1, kOfficer);
        clickRow(form->column().List1, kOfficer + 1);
        clickRow(form->column().List1, kOfficer);
        form->modes().Command7[0]->click();

        QCOMPARE(prompter_.shown.size(), std::size_t(0));
        QCOMPARE(form->column().List1->currentRow(), kOfficer);
        QCOMPARE(form->saveGame().bytes, bytes);
        const QString storedName = ReadFullName(bytes, save::personBlock(kOfficer));
        QCOMPARE(form->column().List1->item(kOfficer)->text(), NumberedItem(kOfficer, 3, storedName));
    }

    // The newest save is opened as the window opens; "No" leaves the window closed.
    void theNewestSaveIsAskedAboutAsTheWindowOpens_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void theNewestSaveIsAskedAboutAsTheWindowOpens()
    {
        QFETCH(Answer, answer);
        const QString newest = SaveGame::newestSlot(session_.gameFolder);
        QVERIFY(replaceFile(newest, contentBytes(Content::Text, QFileInfo(newest).size(), QString())));
        QCOMPARE(SaveGame::newestSlot(session_.gameFolder), newest);
        prompter_.answers = {answer};

        std::unique_ptr<SaveGameEditor> form(SaveGameEditor::open(session_));

        verifyOnlyQuestion(kUnlikeSaveQuestion);
        QCOMPARE(bool(form), answer == Answer::Yes);
        if (form)
            QCOMPARE(form->saveGame().path, newest);
    }

    void theDemoSavesOpenWithoutTheQuestion()
    {
        auto form = test::OpenSaveEditor(session_);
        for (int k = 0; k < save::kSlotCount; ++k) {
            form->menus().sSavSum[k]->trigger();
            QCOMPARE(form->saveGame().path, slot(k));
        }
        QCOMPARE(prompter_.shown.size(), std::size_t(0));
    }

    void aSystemSaveThatIsNoneIsAskedAbout_data()
    {
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<Answer>("answer");
        QTest::newRow("open dialog: yes") << false << Answer::Yes;
        QTest::newRow("open dialog: no") << false << Answer::No;
        QTest::newRow("as the window opens: yes") << true << Answer::Yes;
        QTest::newRow("as the window opens: no") << true << Answer::No;
    }
    void aSystemSaveThatIsNoneIsAskedAbout()
    {
        QFETCH(bool, atStart);
        QFETCH(Answer, answer);
        const QString systemSave = SystemSave::defaultPath(session_.gameFolder);
        const QByteArray demo = test::FileBytes(systemSave);
        const QByteArray bad = contentBytes(Content::ChineseText, demo.size(), QString());
        const QString path = atStart ? systemSave : temp_->filePath(QStringLiteral("Svd_sys.sav"));
        QVERIFY(replaceFile(path, bad));
        prompter_.answers = {answer};

        std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
        if (!atStart) {
            QVERIFY(form);
            QCOMPARE(prompter_.shown.size(), std::size_t(0));  // the demo's system save
            form->show();
            clickRow(form->List1, 4);
            dialogs_.opens = {path};
            form->sOpenfile->trigger();
        }

        verifyOnlyQuestion(kUnlikeSystemSaveQuestion);
        const bool opened = answer == Answer::Yes;
        QCOMPARE(bool(form), opened || !atStart);
        if (!form)
            return;
        QCOMPARE(form->systemSave().path, opened ? path : systemSave);
        QCOMPARE(form->systemSave().bytes, opened ? bad : demo);
        QVERIFY(!form->modified());
        if (!opened) {
            QCOMPARE(form->List1->currentRow(), 4);
            return;
        }
        // Opened anyway: leaving its records and closing ask nothing.
        form->show();
        prompter_.shown.clear();
        for (int row = 1; row < 40; ++row)
            clickRow(form->List1, row);
        QVERIFY(form->close());
        QCOMPARE(prompter_.shown.size(), std::size_t(0));
        QCOMPARE(form->systemSave().bytes, bad);
    }
};

QTEST_MAIN(UnlikeFileTest)
#include "unlike_file_uitest.moc"
