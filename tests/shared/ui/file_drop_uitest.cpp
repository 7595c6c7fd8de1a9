#include "shared/ui/file_drop.h"
#include "support/drags.h"
#include "support/temp_game_folder.h"

#include <QDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <memory>

using namespace varkel;

using test::Drag;
using test::DragOutcome;

class FileDropTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempGameFolder> folder_;

    QString save() const { return folder_->file(QStringLiteral("svd_00.sav")); }
    QUrl local(const QString& name) const { return QUrl::fromLocalFile(folder_->file(name)); }

private slots:
    void initTestCase() { folder_ = std::make_unique<test::TempGameFolder>(); }

    void onlyOneLocalFileIsTaken_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("actions");
        QTest::addColumn<bool>("taken");

        const int copyOrMove = Qt::CopyAction | Qt::MoveAction;
        QTest::newRow("one saved game") << QList<QUrl>{local("svd_00.sav")} << QString() << copyOrMove << true;
        QTest::newRow("one file offered as copy only")
            << QList<QUrl>{local("svd_00.sav")} << QString() << int(Qt::CopyAction) << true;
        QTest::newRow("one file with its path as text too")
            << QList<QUrl>{local("svd_00.sav")} << save() << copyOrMove << true;
        QTest::newRow("two files") << QList<QUrl>{local("svd_00.sav"), local("svd_01.sav")} << QString() << copyOrMove
                                   << false;
        QTest::newRow("a remote file") << QList<QUrl>{QUrl(QStringLiteral("https://example.com/svd_00.sav"))}
                                       << QString() << copyOrMove << false;
        QTest::newRow("plain text naming a file") << QList<QUrl>{} << save() << copyOrMove << false;
        QTest::newRow("a folder") << QList<QUrl>{QUrl::fromLocalFile(folder_->path())} << QString() << copyOrMove
                                  << false;
        QTest::newRow("a file that is not there")
            << QList<QUrl>{local("svd_99.sav")} << QString() << copyOrMove << false;
        QTest::newRow("a file that may only be moved")
            << QList<QUrl>{local("svd_00.sav")} << QString() << int(Qt::MoveAction) << false;
    }

    void onlyOneLocalFileIsTaken()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(int, actions);
        QFETCH(bool, taken);

        QWidget window;
        QStringList opened;
        AcceptFileDrops(window, [&](const QString& path) { opened << path; });
        QVERIFY(window.acceptDrops());

        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        const DragOutcome outcome = Drag(window, data, Qt::DropActions(actions));
        QCOMPARE(outcome.enterTaken, taken);
        QCOMPARE(outcome.moveTaken, taken);
        QCOMPARE(outcome.dropTaken, taken);
        if (taken)
            QCOMPARE(outcome.dropAction, Qt::CopyAction);  // the source keeps its file

        // The file opens once the drop has returned to the program it came from.
        QVERIFY(opened.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(opened, taken ? QStringList{save()} : QStringList());
    }

    // Drags reach the window through the widgets under the pointer; those that take
    // drops themselves (text boxes) see them first.
    void dropsOnWidgetsInsideTheWindowCount_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("taken");
        QTest::newRow("a child made before") << QStringLiteral("child before") << true;
        QTest::newRow("a child made after") << QStringLiteral("child after") << true;
        QTest::newRow("a grandchild made after") << QStringLiteral("grandchild after") << true;
        QTest::newRow("a text box made before") << QStringLiteral("text box before") << true;
        QTest::newRow("a text box made after") << QStringLiteral("text box after") << true;
        QTest::newRow("a text box in a dialog of the window") << QStringLiteral("text box in dialog") << false;
    }

    void dropsOnWidgetsInsideTheWindowCount()
    {
        QFETCH(QString, where);
        QFETCH(bool, taken);

        QWidget window;
        QWidget* target = nullptr;
        if (where == QLatin1String("child before"))
            target = new QWidget(&window);
        if (where == QLatin1String("text box before"))
            target = new QLineEdit(&window);
        QStringList opened;
        AcceptFileDrops(window, [&](const QString& path) { opened << path; });
        if (where == QLatin1String("child after"))
            target = new QWidget(&window);
        if (where == QLatin1String("grandchild after"))
            target = new QWidget(new QWidget(&window));
        if (where == QLatin1String("text box after"))
            target = new QLineEdit(&window);
        if (where == QLatin1String("text box in dialog"))
            target = new QLineEdit(new QDialog(&window));
        QVERIFY(target);

        QMimeData data;
        data.setUrls({local("svd_00.sav")});
        data.setText(save());
        const DragOutcome outcome = Drag(*target, data, Qt::CopyAction);
        QCoreApplication::processEvents();
        QVERIFY(outcome.dropTaken);  // by the window, or else by the dialog's text box
        QCOMPARE(opened, taken ? QStringList{save()} : QStringList());
        // A text box that did not hand the drop on took it as text, as it would anyway.
        if (auto* box = qobject_cast<QLineEdit*>(target))
            QCOMPARE(box->text(), taken ? QString() : save());
    }

    // Text dragged onto a text box is still the box's to take.
    void otherDragsAreLeftToTheWidget()
    {
        QWidget window;
        auto* box = new QLineEdit(&window);
        QStringList opened;
        AcceptFileDrops(window, [&](const QString& path) { opened << path; });

        QMimeData data;
        data.setText(QStringLiteral("abc"));
        const DragOutcome outcome = Drag(*box, data, Qt::CopyAction);
        QCoreApplication::processEvents();
        QVERIFY(outcome.dropTaken);
        QCOMPARE(box->text(), QStringLiteral("abc"));
        QVERIFY(opened.isEmpty());
    }

    // A drop still waiting when its window closes is dropped with it.
    void aDropOutlivedByItsWindowIsNotHandedOn()
    {
        auto window = std::make_unique<QWidget>();
        QStringList opened;
        AcceptFileDrops(*window, [&](const QString& path) { opened << path; });
        QMimeData data;
        data.setUrls({local("svd_00.sav")});
        QVERIFY(Drag(*window, data, Qt::CopyAction).dropTaken);
        window.reset();
        QCoreApplication::processEvents();
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(FileDropTest)
#include "file_drop_uitest.moc"
