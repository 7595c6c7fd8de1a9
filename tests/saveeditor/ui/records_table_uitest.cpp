// The table of all records as a user meets it: opened from each mode (and from the
// city and force editors), Enter or a double-click showing the record in its
// view, the filter box, a batch change as one undo step that every view follows,
// the columns kept per kind, CSV export as the command line writes it, and copy.
#include "demo_folder/demo_folder.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/ui/batch_dialog.h"
#include "shared/ui/batch_outcomes.h"
#include "shared/ui/import_dialog.h"
#include "shared/ui/record_list.h"
#include "shared/ui/records_window.h"
#include "support/file_bytes.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace varkel;

class RecordsTableTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveGameEditor> form_;

    const QByteArray& save() const { return form_->saveGame().bytes; }
    void openForm(int slot = demo::kDemoNewestSlot)
    {
        form_.reset(SaveGameEditor::open(session_, SaveGame::slotPath(session_.gameFolder, slot)));
        QVERIFY(form_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    // The table of the mode shown, opened with Ctrl+T as a user would.
    RecordsWindow* openTable(QWidget* over)
    {
        if (!QTest::qWaitForWindowExposed(over))
            return nullptr;
        over->activateWindow();
        if (!QTest::qWaitForWindowActive(over))
            return nullptr;
        QTest::keyClick(over, Qt::Key_T, Qt::ControlModifier);
        auto* window = over->findChild<RecordsWindow*>();
        if (window)
            (void)QTest::qWaitForWindowExposed(window);
        return window;
    }
    // Makes record n current in the table and presses Enter on it.
    static void enterOn(RecordsWindow& w, int n)
    {
        const QModelIndex source = w.table().index(n, 1);
        const QModelIndex shown = w.filtered().mapFromSource(source);
        QVERIFY(shown.isValid());
        w.view->setCurrentIndex(shown);
        QTest::keyClick(w.view, Qt::Key_Return);
    }
    // What `varkel-cli dump` of the officers of the save shown writes as CSV with `options`.
    QByteArray dumped(const QStringList& options)
    {
        QProcess cli;
        cli.start(QStringLiteral(VARKEL_CLI),
                  QStringList{QStringLiteral("dump"), form_->saveGame().path, QStringLiteral("--records"),
                              QStringLiteral("officers"), QStringLiteral("--format"), QStringLiteral("csv"),
                              QStringLiteral("--game-folder"), session_.gameFolder} +
                      options);
        if (!cli.waitForFinished(30000) || cli.exitCode() != 0)
            return {};
        return cli.readAllStandardOutput();
    }
    // Types `text` at the end of the box, a character at a time.
    static void type(QLineEdit* box, const QString& text)
    {
        for (const QChar ch : text)
            box->insert(QString(ch));
    }
    static void selectRecords(RecordsWindow& w, const std::vector<int>& records)
    {
        w.view->clearSelection();
        for (const int n : records)
            w.view->selectionModel()->select(w.filtered().mapFromSource(w.table().index(n, 0)),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    int shownRecord(int mode) const { return form_->modes().records(mode).shownRecord(); }

private slots:
    void init()
    {
        prepare();
        session_.settingsPath = temp_->filePath(QStringLiteral("VarkelEditor.ini"));
    }
    void cleanup()
    {
        form_.reset();
        QApplication::clipboard()->clear();
    }

    void eachModeHasItsTableAndEnterShowsTheRecord_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("title");
        QTest::newRow("officers") << 0 << 17 << QStringLiteral("一覽表 - 武將");
        QTest::newRow("treasures") << 1 << 9 << QStringLiteral("一覽表 - 寶物");
        QTest::newRow("relationships") << 2 << 3 << QStringLiteral("一覽表 - 人物關系");
        QTest::newRow("family members") << 3 << 2 << QStringLiteral("一覽表 - 家庭成員");
    }
    void eachModeHasItsTableAndEnterShowsTheRecord()
    {
        QFETCH(int, mode);
        QFETCH(int, record);
        QFETCH(QString, title);
        openForm();
        form_->modes().Option3[mode]->click();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), title);
        QVERIFY(w->table().rowCount() > record);
        QCOMPARE(w->table().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("編號"));
        enterOn(*w, record);
        QCOMPARE(shownRecord(mode), record);
        // The same command brings the open table forward rather than a second one.
        form_->menus().sTable->trigger();
        QCOMPARE(form_->findChildren<RecordsWindow*>().size(), 1);
        // Escape closes it.
        QTest::keyClick(w->view, Qt::Key_Escape);
        QTRY_VERIFY(form_->findChildren<RecordsWindow*>().isEmpty());
    }

    void tabGoesThroughTheWindowInReadingOrder()
    {
        openForm();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        const std::vector<QWidget*> order = {w->filterBox,    w->view,       w->batchButton, w->exportButton,
                                             w->importButton, w->copyButton, w->closeButton};
        for (std::size_t i = 0; i <= order.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), order[i % order.size()]);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void theCityAndForceEditorsHaveTheirTables()
    {
        openForm();
        bool cities = false, forces = false;
        form_->setSideWindowRunner([&](QDialog& window) {
            window.show();
            if (auto* f = qobject_cast<CityEditor*>(&window)) {
                QVERIFY(f->tableButton->isVisible());
                RecordsWindow* w = openTable(f);
                const QWidget* active = QApplication::activeWindow();
                QVERIFY2(w, qPrintable(active ? active->objectName() : QStringLiteral("none")));
                QCOMPARE(w->windowTitle(), QStringLiteral("一覽表 - 都市"));
                enterOn(*w, 7);
                QCOMPARE(f->shownRecord(), 7);
                cities = true;
            } else if (auto* f = qobject_cast<ForceEditor*>(&window)) {
                f->tableButton->click();
                auto* w = f->findChild<RecordsWindow*>();
                QVERIFY(w);
                const int second = f->List1->count() > 1 ? 1 : 0;
                f->List1->setCurrentRow(0);
                // The force in the list's second row, by its number.
                const QString row = f->List1->item(second)->text();
                const int force = row.left(row.indexOf(QLatin1Char(':'))).toInt();
                enterOn(*w, force);
                QCOMPARE(f->shownRecord(), force);
                forces = true;
            }
        });
        form_->menus().sCity->trigger();
        form_->menus().sBingQi->trigger();
        QVERIFY(cities && forces);
    }

    // Good filters pick the records the command line picks; a bad one turns red,
    // says why on the status line and keeps the rows it had.
    void theFilterBoxPicksRecordsAndSaysWhatIsWrong()
    {
        openForm(demo::kDemoSlotWith860Officers);
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        QVERIFY(w->filterBox->hasFocus());
        type(w->filterBox, QStringLiteral("武力>=80"));
        const RecordKind& officers = *w->table().kind();
        const auto strong = RecordFilter::parse(officers, QStringLiteral("武力>=80"), nullptr)->select(officers);
        QCOMPARE(w->filtered().shownRecords().size(), strong.size());
        QVERIFY(w->countLabel->text().contains(
            QStringLiteral("顯示 %1 / 共 %2 筆").arg(strong.size()).arg(officers.count())));
        type(w->filterBox, QStringLiteral(" 忠誠<<"));
        QVERIFY(w->filterBox->styleSheet().contains(QStringLiteral("color")));
        QVERIFY(!w->statusLine->currentMessage().isEmpty());
        QCOMPARE(w->filtered().shownRecords().size(), strong.size());
        w->filterBox->clear();
        QVERIFY(w->filterBox->styleSheet().isEmpty());
        QCOMPARE(w->filtered().rowCount(), officers.count());
    }

    // Full loyalty for the selected officers: the preview counts them, Apply is one
    // undo step, the table and the officer view follow, undo puts every byte back.
    void aBatchChangeIsOneUndoStepThatEveryViewFollows()
    {
        openForm();
        const QByteArray before = save();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        const std::vector<int> picked = {0, 3, 4};
        selectRecords(*w, picked);
        QCOMPARE(w->selectedRecords(), picked);
        form_->column().List1->setCurrentRow(3);
        bool ran = false;
        QTimer::singleShot(0, w, [&] {
            auto* dialog = w->findChild<BatchDialog*>();
            QVERIFY(dialog);
            QVERIFY(dialog->selectedOption->isChecked());
            BatchDialog::Row& row = dialog->rows().front();
            row.field->setCurrentIndex(row.field->findText(QStringLiteral("忠誠")));
            row.change->setCurrentIndex(row.change->findText(QStringLiteral("最大值")));
            QVERIFY(dialog->summary->text().contains(QStringLiteral("3 筆記錄中")));
            QVERIFY(dialog->applyButton->isEnabled());
            QTest::keyClick(dialog, Qt::Key_Return);  // Apply is the default button
            ran = true;
        });
        w->batchButton->click();
        QVERIFY(ran);
        for (const int n : picked)
            QCOMPARE(DecodeOfficer(save(), n).status.loyalty, 100);
        const int loyalty = [&] {
            for (int c = 0; c < w->table().columnCount(); ++c)
                if (w->table().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == QStringLiteral("忠誠"))
                    return c;
            return -1;
        }();
        QCOMPARE(w->table().text(3, loyalty), QStringLiteral("100"));
        QCOMPARE(form_->modes().officerPanel()->Text3[15]->text(), QStringLiteral("100"));
        // Ctrl+Z in the table undoes the batch, the whole batch.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(save(), before);
        QVERIFY(!form_->document().canUndo());
        QCOMPARE(w->table().text(3, loyalty), QString::number(DecodeOfficer(before, 3).status.loyalty));
    }

    // Records the kind refuses are listed with why after Apply; the others change.
    void refusedRecordsAreListedAfterApply()
    {
        openForm(demo::kDemoSlotWith860Officers);
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        type(w->filterBox, QStringLiteral("武力>=40 武力<=70"));
        const auto shown = w->filtered().shownRecords();
        int refusable = 0;
        for (const int n : shown)
            refusable += DecodeOfficer(save(), n).person.abilities[0] + 200 > 255;
        QVERIFY(refusable > 0 && refusable < int(shown.size()));
        bool ran = false;
        QTimer::singleShot(0, w, [&] {
            auto* dialog = w->findChild<BatchDialog*>();
            QVERIFY(dialog);
            QVERIFY(!dialog->selectedOption->isEnabled() && dialog->shownOption->isChecked());
            BatchDialog::Row& row = dialog->rows().front();
            row.field->setCurrentIndex(row.field->findText(QStringLiteral("武力")));
            row.change->setCurrentIndex(row.change->findText(QStringLiteral("增加")));
            row.value->setEditText(QStringLiteral("200"));
            QCOMPARE(dialog->typed(), QStringList{QStringLiteral("might=+200")});
            QCOMPARE(dialog->refusals->topLevelItemCount(), refusable);
            dialog->applyButton->click();
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->refusals->topLevelItemCount(), refusable);
            QVERIFY(!dialog->refusals->topLevelItem(0)->text(2).isEmpty());
            QCOMPARE(dialog->cancelButton->text(), QStringLiteral("關閉"));
            QTest::keyClick(dialog, Qt::Key_Escape);
            ran = true;
        });
        w->batchButton->click();
        QVERIFY(ran);
        QVERIFY(form_->document().canUndo());
        form_->document().undo();
        QVERIFY(!form_->document().canUndo());
    }

    // The columns a user hides stay hidden for that kind the next time.
    void hiddenColumnsAreKeptPerKind()
    {
        openForm();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        QMenu* menu = w->columnsMenu();
        const int column = w->table().firstFieldColumn() + 3;
        menu->actions().at(3)->setChecked(false);
        delete menu;
        QVERIFY(w->view->isColumnHidden(column));
        w->close();
        QTRY_VERIFY(!form_->findChild<RecordsWindow*>());
        w = openTable(form_.get());
        QVERIFY(w->view->isColumnHidden(column));
        QVERIFY(!w->view->isColumnHidden(column + 1));
        w->close();
        form_->modes().Option3[1]->click();
        w = openTable(form_.get());
        QVERIFY(!w->view->isColumnHidden(column));
    }

    // The shown rows as CSV for a spreadsheet, byte for byte what `varkel-cli dump
    // --where --bom --captions` writes, offered in the documents folder under the
    // save's and the records' names; a name typed without a suffix gets .csv.
    void exportWritesWhatTheCommandLineDumps()
    {
        openForm(demo::kDemoSlotWith860Officers);
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        type(w->filterBox, QStringLiteral("身份=在野"));
        dialogs_.saves.push_back(temp_->filePath(QStringLiteral("officers")));
        QVERIFY(w->exportCsv());
        // The documents folder, or the home folder on a desktop that has none.
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(dialogs_.requests.back().initialFolder,
                 (QFileInfo(documents).isDir() ? documents : QDir::homePath()) +
                     QStringLiteral("/svd_0%1-武將.csv").arg(demo::kDemoSlotWith860Officers));
        QCOMPARE(dialogs_.requests.back().filterPattern, QStringLiteral("*.csv"));
        const QByteArray expected =
            dumped({QStringLiteral("--where"), QStringLiteral("身份=在野"), QStringLiteral("--bom"),
                    QStringLiteral("--captions")});
        QVERIFY(expected.startsWith(QStringLiteral("\uFEFF記錄種類,編號,").toUtf8()));  // the mark, then captions
        QVERIFY(expected.count('\n') > 2);
        QCOMPARE(test::FileBytes(temp_->filePath(QStringLiteral("officers.csv"))), expected);
    }

    // 匯入 shows what a file of edits would do (changed, unchanged, refused with
    // why), Apply makes the changes as one step that one Ctrl+Z takes back, and the
    // rows refused stay listed.
    void importPreviewsThenAppliesAsOneUndoStep()
    {
        openForm(demo::kDemoSlotWith860Officers);
        const QByteArray before = save();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        // Officers 3 and 4 change, 5 stays, 6 is refused (武力 above 255), 99999 is no officer.
        auto loyaltyOf = [&](int n) { return int(DecodeOfficer(save(), n).status.loyalty); };
        auto row = [&](int n, const QString& loyalty, const QString& might) {
            return QStringLiteral("%1,%2,%3\r\n").arg(QString::number(n), loyalty, might);
        };
        auto mightOf = [&](int n) { return QString::number(DecodeOfficer(save(), n).person.abilities[0]); };
        const QString to3 = QString::number(loyaltyOf(3) == 50 ? 51 : 50);
        const QString to4 = QString::number(loyaltyOf(4) == 50 ? 51 : 50);
        const QString csv = temp_->filePath(QStringLiteral("edits.csv"));
        QVERIFY(test::WriteFileBytes(csv, (QStringLiteral("\uFEFF編號,忠誠,武力\r\n") + row(3, to3, mightOf(3)) +
                                           row(4, to4, mightOf(4)) +
                                           row(5, QString::number(loyaltyOf(5)), mightOf(5)) +
                                           row(6, QString::number(loyaltyOf(6)), QStringLiteral("256")) +
                                           row(99999, QStringLiteral("1"), QStringLiteral("1")))
                                              .toUtf8()));
        dialogs_.opens.push_back(csv);
        bool ran = false;
        QTimer::singleShot(0, w, [&] {
            auto* dialog = w->findChild<ImportDialog*>();
            QVERIFY(dialog);
            auto closed = qScopeGuard([dialog] { dialog->reject(); });  // also when a check fails
            QCOMPARE(dialog->outcomes->summary->text(),
                     QStringLiteral("預覽: 5 筆記錄中，將修改 2 筆，不變 1 筆，不能修改 2 筆。"));
            QCOMPARE(dialog->outcomes->refusals->topLevelItemCount(), 2);
            QCOMPARE(dialog->outcomes->refusals->topLevelItem(1)->text(0), QStringLiteral("99999"));
            QVERIFY(dialog->outcomes->refusals->topLevelItem(0)->text(2).contains(QStringLiteral("武力")));
            QCOMPARE(save(), before);  // a preview changes nothing
            QTest::keyClick(dialog, Qt::Key_Return);  // Apply is the default button
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->outcomes->refusals->topLevelItemCount(), 2);
            QCOMPARE(dialog->cancelButton->text(), QStringLiteral("關閉"));
            ran = true;
        });
        w->importButton->click();
        QVERIFY(ran);
        QCOMPARE(QString::number(loyaltyOf(3)), to3);
        QCOMPARE(QString::number(loyaltyOf(4)), to4);
        QCOMPARE(DecodeOfficer(save(), 5).status.loyalty, DecodeOfficer(before, 5).status.loyalty);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(w->view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(save(), before);
        QVERIFY(!form_->document().canUndo());
    }

    // A file that is not UTF-8 is refused with why, and nothing changes.
    void importRefusesAFileInAnotherEncoding()
    {
        openForm();
        const QByteArray before = save();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        const QString csv = temp_->filePath(QStringLiteral("big5.csv"));
        QVERIFY(test::WriteFileBytes(csv, QByteArray("number,surname\r\n3,\xAA\x5A\r\n")));
        dialogs_.opens.push_back(csv);
        QVERIFY(!w->importFile());
        QVERIFY(!w->findChild<ImportDialog*>());
        QCOMPARE(prompter_.shown.size(), std::size_t(1));
        QVERIFY(prompter_.shown.back().text.contains(QStringLiteral("UTF-8")));
        QCOMPARE(save(), before);
    }

    void copyGivesTheSelectedRowsTabSeparated()
    {
        openForm();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        selectRecords(*w, {1, 2});
        w->view->setFocus();
        QTest::keyClick(w->view, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("編號\t姓\t名\t")));  // the name is 姓名, further on
        QVERIFY(lines[1].startsWith(QStringLiteral("1\t") + w->table().text(1, 1) + QLatin1Char('\t')));
        QCOMPARE(lines[2].count(QLatin1Char('\t')), w->table().columnCount() - 1);
    }

    // An Apply in the officer view shows in the open table at once.
    void theTableFollowsAnApplyInTheView()
    {
        openForm();
        RecordsWindow* w = openTable(form_.get());
        QVERIFY(w);
        form_->activateWindow();
        form_->column().List1->setCurrentRow(2);
        OfficerPanel* p = form_->modes().officerPanel();
        const QString value = p->Text3[0]->text() == QLatin1String("3") ? QStringLiteral("4") : QStringLiteral("3");
        test::Retype(p->Text3[0], value);
        form_->modes().Command7[0]->click();
        const int bravery = [&] {
            for (int c = 0; c < w->table().columnCount(); ++c)
                if (w->table().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == QStringLiteral("勇猛"))
                    return c;
            return -1;
        }();
        QCOMPARE(w->table().text(2, bravery), value);
    }
};

QTEST_MAIN(RecordsTableTest)
#include "records_table_uitest.moc"
