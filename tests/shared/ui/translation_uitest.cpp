// Qt's own dialogs speak Traditional Chinese once the program's translation is in.
#include "shared/ui/qt_seams.h"
#include "shared/ui/standard_error.h"

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace varkel;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void standardButtonsReadChinese()
    {
        QVERIFY(UseChineseTranslation());
        QVERIFY(UseChineseTranslation());  // a second call changes nothing
        QMessageBox box(QMessageBox::Question, QStringLiteral("Varkel"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        const struct {
            QMessageBox::StandardButton button;
            QString text;
        } rows[] = {{QMessageBox::Yes, QStringLiteral("是")},
                    {QMessageBox::No, QStringLiteral("否")},
                    {QMessageBox::Cancel, QStringLiteral("取消")},
                    {QMessageBox::Ok, QStringLiteral("確定")}};
        for (const auto& row : rows)
            QVERIFY2(box.button(row.button)->text().contains(row.text), qPrintable(box.button(row.button)->text()));
    }

    // The file dialogs read in Chinese: their filters, and in the detail view the
    // kind, size and time of a saved game, which the system would give as "SPSS
    // data file" and in its own locale. Only a dialog for saved games offers every saved game.
    void fileDialogsReadChinese_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("filters");
        const QStringList saves = {QStringLiteral("Varkel遊戲存檔 (Svd_0*.sav)"), QStringLiteral("Varkel存檔 (*.sav)"),
                                   QStringLiteral("所有檔案 (*)")};
        QTest::newRow("open") << false << QStringLiteral("Varkel遊戲存檔") << QStringLiteral("Svd_0*.sav") << saves;
        QTest::newRow("save") << true << QStringLiteral("Varkel遊戲存檔") << QStringLiteral("Svd_0*.sav") << saves;
        QTest::newRow("csv") << true << QStringLiteral("CSV 文件") << QStringLiteral("*.csv")
                             << QStringList{QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("所有檔案 (*)")};
    }

    void fileDialogsReadChinese()
    {
        QFETCH(bool, save);
        QFETCH(QString, label);
        QFETCH(QString, pattern);
        QFETCH(QStringList, filters);
        QVERIFY(UseChineseTranslation());
        UseChineseLocale();
        QCOMPARE(QLocale().name(), QStringLiteral("zh_TW"));
        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("svd_01.sav"));
        const QString data = folder.filePath(QStringLiteral("d_sce.vk"));
        // Named as the desktop's file types name them; another program's .sav as any save.
        const QStringList others = {folder.filePath(QStringLiteral("SVD_SYS.SAV")),
                                    folder.filePath(QStringLiteral("other.sav"))};
        for (const QString& path : QStringList{saved, data} + others) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(374'534, '\0'));
            QVERIFY(file.setFileTime(QDateTime(QDate(2021, 3, 2), QTime(21, 5)), QFileDevice::FileModificationTime));
        }

        struct Seen {
            QString title;
            QStringList filters;
            QStringList savedRow;
            QStringList kinds;  // of the data file and the others
        } seen;
        // Reads the dialog once its folder is listed, then cancels it.
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (seen.filters.isEmpty()) {
                seen.filters = dialog->nameFilters();
                dialog->selectNameFilter(seen.filters.constLast());  // every file, the game's data too
            }
            QAbstractProxyModel* shown = dialog->proxyModel();
            auto* files = shown ? qobject_cast<QFileSystemModel*>(shown->sourceModel()) : nullptr;
            const bool listed = files && files->index(saved).isValid() && files->index(data).isValid() &&
                                !files->data(files->index(saved, 1)).toString().isEmpty();
            if (!listed && waited.elapsed() < 10'000)
                return;
            seen.title = dialog->windowTitle();
            for (int column = 0; shown && files && column < 4; ++column)
                seen.savedRow << shown->mapFromSource(files->index(saved, column)).data().toString();
            for (const QString& path : QStringList{data} + others)
                if (shown && files)
                    seen.kinds << shown
                                      ->mapFromSource(files->index(files->index(path).row(), 2,
                                                                   files->index(path).parent()))
                                      .data()
                                      .toString();
            poll.stop();
            dialog->reject();
        });
        poll.start();

        QtFileDialogs dialogs;
        const FileDialogRequest request{label, pattern, QStringLiteral("打開文件"), folder.path()};
        QVERIFY((save ? dialogs.saveFile(request) : dialogs.openFile(request)).isEmpty());

        QCOMPARE(seen.title, QStringLiteral("打開文件"));
        QCOMPARE(seen.filters, filters);
        QCOMPARE(seen.savedRow, QStringList({QStringLiteral("svd_01.sav"), QLocale().formattedDataSize(374'534),
                                             QStringLiteral("Varkel遊戲存檔"), QStringLiteral("2021/3/2 21:05")}));
        QCOMPARE(seen.kinds, QStringList({QStringLiteral("Varkel資料"), QStringLiteral("Varkel新武將存檔"),
                                          QStringLiteral("Varkel存檔")}));
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_uitest.moc"
