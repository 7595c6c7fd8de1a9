#include "shared/game_folder.h"
#include "shared/ini_file.h"
#include "shared/texts.h"
#include "shared/ui/start_window.h"
#include "shared/ui/start_up.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/temp_game_folder.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace varkel;
using test::WriteFileBytes;

namespace {

// A real picture padded to `size` bytes, as the loader reads a bitmap by its header.
QByteArray pictureOfSize(qint64 size, const char* format = "BMP")
{
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    bytes.resize(size, '\0');
    return bytes;
}

}  // namespace

class Form3Test : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root_;
    QString programFolder_;
    QString tempFolder_;
    Session session_;
    ScriptedPrompter prompter_;
    ScriptedFileDialogs dialogs_;

    // A folder with the given game files (empty), with a trailing separator.
    QString gameFolder(const QString& name, const QStringList& files)
    {
        const QString folder = root_.filePath(name) + QLatin1Char('/');
        QDir().mkpath(folder);
        for (const QString& file : files)
            if (!WriteFileBytes(folder + file, {}))
                qFatal("cannot write %s", qPrintable(file));
        return folder;
    }

    QString settingsPath() const { return programFolder_ + kSettingsFileName; }

    template <typename T>
    T* child(QWidget* form, const QString& name)
    {
        T* w = form->findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

private slots:
    void init()
    {
        programFolder_ = root_.filePath(QStringLiteral("program-%1/").arg(QTest::currentTestFunction()));
        tempFolder_ = root_.filePath(QStringLiteral("temp-%1/").arg(QTest::currentTestFunction()));
        QDir().mkpath(programFolder_);
        QDir().mkpath(tempFolder_);
        session_ = Session();
        prompter_ = ScriptedPrompter();
        dialogs_ = ScriptedFileDialogs();
        session_.prompter = &prompter_;
        session_.dialogs = &dialogs_;
        session_.tempFolder = tempFolder_;
    }

    void rememberedFolderOpensTheStartWindow()
    {
        const test::TempGameFolder demo;
        QVERIFY(!WriteIniValue(settingsPath(), kSettingsSection, kSettingsKey, demo.path()));
        const auto form3 = StartUp(session_, {programFolder_, QString()});
        QVERIFY(form3);
        QCOMPARE(session_.programFolder, programFolder_);
        QCOMPARE(session_.settingsPath, settingsPath());
        QCOMPARE(session_.gameFolder, demo.path());
        QVERIFY(dialogs_.folderPrompts.empty());
        QCOMPARE(session_.banks.faces.size(), kFaceBankSize);
        QCOMPARE(session_.banks.treasures.size(), kTreasureBankSize);

        form3->show();
        QVERIFY(QTest::qWaitForWindowExposed(form3.get()));
        QVERIFY(!form3->aboutMode());
        QCOMPARE(child<QLabel>(form3.get(), "Label3")->text(), GetResText(Text::AboutHeading));
        QCOMPARE(child<QLabel>(form3.get(), "Label7")->text(), GetResText(Text::EditorTitle));
        QCOMPARE(child<QPushButton>(form3.get(), "Command2")->text(), QStringLiteral("新的武將(&N)"));
        QCOMPARE(child<QPushButton>(form3.get(), "Command3")->text(), QStringLiteral("存檔修改(&S)"));
        QCOMPARE(child<QPushButton>(form3.get(), "Command5")->text(), QStringLiteral("退出程序(&X)"));
    }

    // Work put off until the user sees a window runs once every shown window is
    // exposed, and only then.
    void workPutOffUntilShownRunsOnceTheWindowIsExposed()
    {
        QWidget window;
        window.show();
        int runs = 0;
        bool exposedThen = false;
        std::vector<int> order;
        WhenShown([&] {
            ++runs;
            exposedThen = window.windowHandle() && window.windowHandle()->isExposed();
            order.push_back(1);
        });
        WhenShown([&] { order.push_back(2); });
        QCOMPARE(runs, 0);
        QTRY_COMPARE(runs, 1);
        QVERIFY(exposedThen);
        QTest::qWait(20);
        QCOMPARE(runs, 1);
        QCOMPARE(order, (std::vector<int>{1, 2}));  // in the order they were put off
    }

    void gameFolderGivenForTheRunSkipsTheSettings()
    {
        const QString folder = gameFolder("given", {});
        const auto form3 = StartUp(session_, {programFolder_, folder.chopped(1)});
        QVERIFY(form3);
        QCOMPARE(session_.gameFolder, folder);
        QVERIFY(dialogs_.folderPrompts.empty());
        QVERIFY(!QFile::exists(settingsPath()));
    }

    void missingFolderRunsTheFolderDialog()
    {
        QVERIFY(!WriteIniValue(settingsPath(), kSettingsSection, kSettingsKey, root_.filePath("gone/")));
        const QString good = gameFolder("good", RequiredGameFiles());
        dialogs_.folders = {good.chopped(1)};
        const auto form3 = StartUp(session_, {programFolder_, QString()});
        QVERIFY(form3);
        QCOMPARE(dialogs_.folderPrompts, std::vector<QString>{GetResText(Text::ChooseGameFolder)});
        QCOMPARE(session_.gameFolder, good);
        QCOMPARE(ReadIniValue(settingsPath(), kSettingsSection, kSettingsKey), QDir::toNativeSeparators(good));
        QVERIFY(prompter_.shown.empty());
    }

    // The folder is chosen but the settings file cannot keep it (a full disk): the
    // run goes on in it, and the user is told that the next start will ask again.
    void aFolderTheSettingsCannotKeepIsTold()
    {
        QVERIFY(!WriteIniValue(settingsPath(), kSettingsSection, kSettingsKey, root_.filePath("gone/")));
        QFile settings(settingsPath());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray before = settings.readAll();
        settings.close();
        const QString good = gameFolder("kept-for-the-run", RequiredGameFiles());
        dialogs_.folders = {good.chopped(1)};
        test::FailingFileIo io;
        io.failAt(1, 10);  // the write of the settings, after their read
        session_.files.setIo(&io);

        const auto form3 = StartUp(session_, {programFolder_, QString()});
        QVERIFY(form3);
        QCOMPARE(session_.gameFolder, good);
        QCOMPARE(prompter_.shown.size(), 1u);
        const auto& told = prompter_.shown[0];
        QCOMPARE(told.text, QStringLiteral("未能把Varkel所在目錄記入設定文件，下次啟動時需要重新選擇。\n\n"
                                           "75-路徑/文件訪問錯誤：") +
                                settingsPath());
        QCOMPARE(told.title, QStringLiteral("Varkel-Editor"));
        QCOMPARE(told.icon, MessageIcon::Warning);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), before);
    }

    void folderLackingAFileIsRefusedAndAskedAgain()
    {
        QVERIFY(!WriteIniValue(settingsPath(), kSettingsSection, kSettingsKey, root_.filePath("gone/")));
        const QStringList required = RequiredGameFiles();
        dialogs_.folders = {gameFolder("no-msg", required.mid(0, 4)), gameFolder("no-maindy", required.mid(1))};
        const auto form3 = StartUp(session_, {programFolder_, QString()});
        QVERIFY(!form3);  // the third question was cancelled
        QCOMPARE(dialogs_.folderPrompts.size(), 3u);
        QCOMPARE(prompter_.shown.size(), 2u);
        for (const auto& shown : prompter_.shown) {
            QCOMPARE(shown.text, GetResText(Text::NotAGameFolder));
            QCOMPARE(shown.title, QStringLiteral("Varkel-Error"));
            QCOMPARE(shown.icon, MessageIcon::Critical);
        }
        QCOMPARE(ReadIniValue(settingsPath(), kSettingsSection, kSettingsKey), root_.filePath("gone/"));
    }

    void aboutLinesShowVersionAndTexts()
    {
        session_.gameFolder = gameFolder("about", {});
        StartWindow form3(session_);
        QCOMPARE(child<QLabel>(&form3, "Label6(0)")->text(),
                 GetResText(Text::AboutVersion) + QStringLiteral("1.00.00"));
        QVERIFY(child<QLabel>(&form3, "Label6(5)")->text().startsWith(GetResText(Text::AboutAuthor)));
        QVERIFY(child<QLabel>(&form3, "Label6(1)")->text().startsWith(GetResText(Text::AboutMail)));
        QCOMPARE(child<QLabel>(&form3, "Label6(2)")->text(), GetResText(Text::AboutLanguage));
        QCOMPARE(child<QLabel>(&form3, "Label6(3)")->text(), GetResText(Text::AboutNote));
        QCOMPARE(child<QLabel>(&form3, "Label6(4)")->text(), GetResText(Text::AboutPurpose));
    }

    // F1 on the start window shows About, whichever button has the keyboard;
    // Escape leaves it for the start window again.
    void f1ShowsAboutAndEscapeLeavesIt_data()
    {
        QTest::addColumn<QString>("focused");
        for (const char* button : {"Command2", "Command3", "Command5"})
            QTest::newRow(button) << QString::fromLatin1(button);
    }

    void f1ShowsAboutAndEscapeLeavesIt()
    {
        QFETCH(QString, focused);
        session_.gameFolder = gameFolder("f1", {});
        StartWindow form3(session_);
        form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        auto* button = form3.findChild<QPushButton*>(focused);
        QVERIFY(button);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_F1);
        QVERIFY(form3.aboutMode());
        QVERIFY(child<QFrame>(&form3, "Picture1")->isVisible());
        QTest::keyClick(&form3, Qt::Key_Escape);
        QVERIFY(!form3.aboutMode());
        QVERIFY(form3.isVisible());
    }

    // Leaving the About view never leaves the program running with nothing on
    // screen: over an editor the window hides (the editor stays), over nothing it
    // is the start window again. A close over an editor leaves the editor alone.
    void leavingTheAboutViewNeverLeavesNothing_data()
    {
        QTest::addColumn<bool>("overEditor");
        QTest::addColumn<QString>("how");
        for (const bool overEditor : {false, true})
            for (const char* how : {"click", "click on the hidden exit button", "another window active", "close"})
                QTest::addRow("%s, %s", overEditor ? "over an editor" : "at start", how)
                    << overEditor << QString::fromLatin1(how);
    }

    void leavingTheAboutViewNeverLeavesNothing()
    {
        QFETCH(bool, overEditor);
        QFETCH(QString, how);
        session_.gameFolder = gameFolder("about-leave", {});
        StartWindow form3(session_);
        QSignalSpy ended(&form3, &StartWindow::programEnded);
        form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        // A click in start mode does nothing.
        QTest::mouseClick(form3.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(form3.isVisible());
        if (overEditor) {
            form3.openSaveGameEditor();
            QVERIFY(form3.editor());
        }

        form3.showAbout();
        QVERIFY(form3.aboutMode());
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        QVERIFY(child<QFrame>(&form3, "Picture1")->isVisible());
        QWidget other;
        if (how == "click") {
            QTest::mouseClick(form3.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
        } else if (how == "click on the hidden exit button") {
            auto* exitButton = child<QPushButton>(&form3, "Command5");
            QTest::mouseClick(form3.windowHandle(), Qt::LeftButton, {}, exitButton->geometry().center());
        } else if (how == "another window active") {
            form3.activateWindow();
            QTRY_VERIFY(form3.isActiveWindow());
            other.show();
            other.activateWindow();
            QTRY_VERIFY(other.isActiveWindow());
        } else {
            form3.close();
        }

        QCOMPARE(ended.count(), how == "close" && !overEditor ? 1 : 0);
        if (how == "close" && !overEditor)
            return;  // the program ends
        QVERIFY(!form3.aboutMode() || !form3.isVisible());
        if (overEditor) {
            QVERIFY(!form3.isVisible());
            QVERIFY(form3.editor() && form3.editor()->isVisible());
            // The editor closes: the start window again.
            form3.editor()->close();
            QTRY_VERIFY(!form3.editor());
        }
        QVERIFY(form3.isVisible());
        QVERIFY(!form3.aboutMode());
        QVERIFY(!child<QFrame>(&form3, "Picture1")->isVisible());
    }

    // The game's picture is a bitmap; another format the platform reads does too.
    void backgroundOfTheExactSizeIsShown_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("bitmap") << QByteArray("BMP");
        QTest::newRow("png") << QByteArray("PNG");
    }

    void backgroundOfTheExactSizeIsShown()
    {
        QFETCH(QByteArray, format);
        session_.gameFolder = gameFolder("background", {});
        QVERIFY(WriteFileBytes(session_.gameFolder + "Selgame.vk", pictureOfSize(215'040, format.constData())));
        StartWindow form3(session_);
        form3.show();
        QVERIFY(form3.hasBackgroundPicture());
        for (const char* name : {"Label2", "Label4", "Label5"})
            QVERIFY(!child<QLabel>(&form3, name)->isVisible());
        QVERIFY(!child<QFrame>(&form3, "Line1")->isVisible());
    }

    void backgroundOfAnotherSizeShowsTheDrawnTitle_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::newRow("one byte more") << qint64(215'041);
        QTest::newRow("one byte less") << qint64(215'039);
        QTest::newRow("absent") << qint64(-1);
    }

    void backgroundOfAnotherSizeShowsTheDrawnTitle()
    {
        QFETCH(qint64, size);
        session_.gameFolder = gameFolder(QStringLiteral("drawn-%1").arg(size), {});
        if (size >= 0)
            QVERIFY(WriteFileBytes(session_.gameFolder + "Selgame.vk", pictureOfSize(size)));
        StartWindow form3(session_);
        form3.show();
        QVERIFY(!form3.hasBackgroundPicture());
        for (const char* name : {"Label2", "Label4", "Label5"}) {
            QVERIFY(child<QLabel>(&form3, name)->isVisible());
            QCOMPARE(child<QLabel>(&form3, name)->text(), QStringLiteral("Varkel"));
        }
        QVERIFY(child<QFrame>(&form3, "Line1")->isVisible());
    }

    void closingDeletesTheTemporaryBitmaps()
    {
        session_.gameFolder = gameFolder("close", {});
        QVERIFY(WriteFileBytes(tempFolder_ + "tsmall.bmp", "x"));
        QVERIFY(WriteFileBytes(tempFolder_ + "tbaowu.bmp", "x"));
        QVERIFY(WriteFileBytes(tempFolder_ + "keep.txt", "x"));
        {
            StartWindow form3(session_);
            QSignalSpy ended(&form3, &StartWindow::programEnded);
            form3.show();
            child<QPushButton>(&form3, "Command5")->click();
            QCOMPARE(ended.count(), 1);
            QVERIFY(!form3.isVisible());
        }
        QVERIFY(!QFile::exists(tempFolder_ + "tsmall.bmp"));
        QVERIFY(!QFile::exists(tempFolder_ + "tbaowu.bmp"));
        QVERIFY(QFile::exists(tempFolder_ + "keep.txt"));

        // Nothing to delete: the program still ends.
        StartWindow again(session_);
        QSignalSpy ended(&again, &StartWindow::programEnded);
        again.show();
        QVERIFY(again.close());
        QCOMPARE(ended.count(), 1);
    }

    void editorHidesTheStartWindowUntilItCloses()
    {
        session_.gameFolder = gameFolder("editor", {});
        StartWindow form3(session_);
        form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        const QWidgetList before = QApplication::topLevelWidgets();
        child<QPushButton>(&form3, "Command3")->click();
        QVERIFY(!form3.isVisible());
        QWidget* editor = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!before.contains(w) && w->isVisible())
                editor = w;
        QVERIFY(editor);

        // About chosen from the editor, then the editor closes: start mode again.
        form3.showAbout();
        QVERIFY(form3.aboutMode());
        QVERIFY(editor->isVisible());
        editor->close();
        QTRY_VERIFY(!form3.aboutMode());
        QVERIFY(form3.isVisible());
    }

    void dragMovesTheWindow()
    {
        session_.gameFolder = gameFolder("drag", {});
        StartWindow form3(session_);
        form3.move(100, 100);
        form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form3));
        const QPoint start = form3.pos();
        QTest::mousePress(&form3, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 25), form3.mapToGlobal(QPointF(40, 25)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(&form3, &move);
        QCOMPARE(form3.pos(), start + QPoint(30, 15));
        QTest::mouseRelease(&form3, Qt::LeftButton, {}, QPoint(40, 25));
    }
};

QTEST_MAIN(Form3Test)
#include "start_window_uitest.moc"
