// Leaving a record with edits not yet applied, in the windows with a record list
// of their own (the force, city and new-officer editors): untouched records ask
// nothing, any change counts, and the question applies, discards or stays, for a
// click on another row, a name search and closing the window.
#include "demo_folder/demo_folder.h"
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "shared/texts.h"
#include "shared/ui/pending_edits.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace varkel;

using Change = std::function<void(QWidget&)>;

Q_DECLARE_METATYPE(varkel::Answer)
Q_DECLARE_METATYPE(Change)

namespace {

enum class Kind { Forces, Cities, NewOfficers };

constexpr int kSlotCount = 9;

// One of the windows, opened over buffers of its own.
struct Opened {
    std::unique_ptr<SaveDocument> document;  // outlives the window over it
    std::unique_ptr<QWidget> window;
    QListWidget* list = nullptr;
    std::function<bool()> differs;
    std::function<QByteArray()> bytes;  // every buffer its Apply writes
};

// What a leaving test does in one window: the record edited, the row clicked
// next, a change Apply stores, and one Apply refuses (none in the force editor,
// which refuses nothing).
struct Leaving {
    const char* name;
    Kind kind;
    int row;
    int other;
    const char* box;
    std::function<QString(const QString& shown)> typed;
    bool refusable;          // an empty box is refused
    const char* exitButton;  // nullptr: the window's close box only
};

QLineEdit* lineEdit(QWidget& w, const char* name)
{
    auto* box = w.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!box)
        qFatal("no box %s", name);
    return box;
}

// Types `text` over a box as a user does: digits by key, names by input method.
void typeOver(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    if (text.isEmpty())
        return;
    if (text[0].isDigit())
        QTest::keyClicks(box, text);
    else
        test::CommitText(box, text);
}

void clickRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

const std::vector<Leaving>& leavings()
{
    static const std::vector<Leaving> rows = {
        {"force editor", Kind::Forces, 1, 2, "Text1", [](const QString&) { return QStringLiteral("新漢國"); }, false,
         "Command2"},
        {"city editor", Kind::Cities, demo::kDemoBanditCity, demo::kDemoCityWithoutBandits, "Text1",
         [](const QString&) { return QStringLiteral("300"); }, true, "Command3"},
        {"new-officer editor", Kind::NewOfficers, 1, 3, "Text3(0)",
         [](const QString& shown) { return QString::number((shown.toInt() + 1) % 8); }, true, nullptr},
    };
    return rows;
}

}  // namespace

class LeavingEditedRecordsTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    Opened open(Kind kind, int slot = demo::kDemoNewestSlot)
    {
        Opened o;
        if (kind == Kind::NewOfficers) {
            auto* form = NewOfficerEditor::open(session_);
            if (!form)
                qFatal("Form1 did not open");
            o.window.reset(form);
            o.list = form->List1;
            o.differs = [form] { return form->viewDiffers(); };
            o.bytes = [form] { return form->systemSave().bytes + form->biographies().bytes; };
        } else {
            o.document = test::SaveDocumentOf(test::FileBytes(SaveGame::slotPath(session_.gameFolder, slot)));
            session_.officerCount = o.document->tables().officerCount;
            session_.officerNames = o.document->tables().officerNames;
            SaveDocument* document = o.document.get();
            o.bytes = [document] { return document->bytes(); };
            if (kind == Kind::Forces) {
                QStringList ranks;
                for (int i = 0; i < force::kRankCount; ++i)
                    ranks << QStringLiteral("官%1").arg(i);
                auto* form = new ForceEditor(prompter_, *o.document, ranks);
                o.window.reset(form);
                o.list = form->List1;
                o.differs = [form] { return form->viewDiffers(); };
            } else {
                auto* form = new CityEditor(session_, *o.document, QStringList(),
                                        test::ScriptedPicker(PickerKind::Officer, demo::kDemoGovernor));
                o.window.reset(form);
                o.list = form->List1;
                o.differs = [form] { return form->viewDiffers(); };
            }
        }
        o.window->show();
        return o;
    }

    // What an Apply of the change stores: the same change applied in a second
    // window over the same files.
    QByteArray appliedBytes(const Leaving& l, const QString& text)
    {
        Opened twin = open(l.kind);
        twin.list->setCurrentRow(l.row);
        typeOver(lineEdit(*twin.window, l.box), text);
        const char* apply = l.kind == Kind::Forces ? "Command1" : "Command2";
        twin.window->findChild<QPushButton*>(QString::fromLatin1(apply))->click();
        return twin.bytes();
    }

    static QString question() { return QString::fromUtf8(kPendingEditsQuestion); }

private slots:
    void init() { prepare(); }

    // Every row of every save (the new officers' one file), shown and left alone.
    void untouchedRecordsAreNoEdits()
    {
        QStringList edited;
        for (const Kind kind : {Kind::Forces, Kind::Cities, Kind::NewOfficers}) {
            const int saves = kind == Kind::NewOfficers ? 1 : kSlotCount;
            for (int slot = 0; slot < saves; ++slot) {
                Opened o = open(kind, slot);
                const QByteArray before = o.bytes();
                for (int row = 0; row < o.list->count(); ++row) {
                    o.list->setCurrentRow(row);
                    QCOMPARE(o.list->currentRow(), row);
                    if (o.differs())
                        edited << QStringLiteral("window %1 slot %2 row %3").arg(int(kind)).arg(slot).arg(row);
                }
                QVERIFY(o.window->close());
                QVERIFY(o.bytes() == before);
            }
        }
        QVERIFY2(edited.isEmpty(), qPrintable(edited.join(QStringLiteral(", "))));
        QVERIFY(prompter_.shown.empty());
    }

    // A change in each kind of control the windows have counts as an edit.
    void aChangeInAnyKindOfControlIsAnEdit_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("row");
        QTest::addColumn<Change>("change");
        const auto retype = [](const char* box, QString text) {
            return Change([box, text](QWidget& w) { typeOver(lineEdit(w, box), text); });
        };
        const auto choose = [](const char* list) {
            return Change([list](QWidget& w) {
                auto* combo = w.findChild<QComboBox*>(QString::fromLatin1(list));
                combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
            });
        };
        const auto tick = [](const char* box) {
            return Change([box](QWidget& w) { w.findChild<QAbstractButton*>(QString::fromLatin1(box))->click(); });
        };
        const int forces = int(Kind::Forces);
        const int cities = int(Kind::Cities);
        const int officers = int(Kind::NewOfficers);
        QTest::newRow("forces: name box") << forces << 1 << retype("Text1", QStringLiteral("新漢國"));
        QTest::newRow("forces: rank list") << forces << 1 << choose("Combo1");
        QTest::newRow("forces: technology list") << forces << 1 << choose("Combo2");
        QTest::newRow("forces: troop tick box") << forces << 1 << tick("Check1(3)");
        QTest::newRow("forces: machine tick box") << forces << 1 << tick("Check2(0)");
        QTest::newRow("cities: number box")
            << cities << demo::kDemoBanditCity << retype("Text1", QStringLiteral("300"));
        QTest::newRow("cities: head list") << cities << demo::kDemoGovernedCity << choose("Combo3");
        QTest::newRow("cities: disaster tick box") << cities << 0 << tick("Check1(2)");
        QTest::newRow("cities: bandits tick box") << cities << demo::kDemoBanditCity << tick("Check2");
        QTest::newRow("cities: bandit leader picked") << cities << demo::kDemoBanditCity << tick("Command1");
        QTest::newRow("new officers: number box") << officers << 1 << retype("Text2(1)", QStringLiteral("77"));
        QTest::newRow("new officers: list") << officers << 1 << choose("Combo3");
        QTest::newRow("new officers: tactic list") << officers << 1 << choose("Combo6(4)");
        QTest::newRow("new officers: tick box") << officers << 1 << tick("Check1(1)");
        QTest::newRow("new officers: skill box") << officers << 1 << tick("Check2(13)");
        QTest::newRow("new officers: name box") << officers << 1 << retype("Text1(3)", QStringLiteral("天下無雙"));
        QTest::newRow("new officers: biography") << officers << 1 << Change([](QWidget& w) {
            auto* biography = w.findChild<QPlainTextEdit*>(QStringLiteral("Text4"));
            biography->setFocus();
            test::CommitText(biography, QStringLiteral("少有大志"));
        });
        QTest::newRow("new officers: face picked") << officers << 1 << tick("Command1");
    }
    void aChangeInAnyKindOfControlIsAnEdit()
    {
        QFETCH(int, kind);
        QFETCH(int, row);
        QFETCH(Change, change);
        Opened o = open(Kind(kind));
        if (auto* form = qobject_cast<NewOfficerEditor*>(o.window.get()))
            form->setPicker(test::ScriptedPicker(PickerKind::Face, 321));
        o.list->setCurrentRow(row);
        QVERIFY(!o.differs());
        change(*o.window);
        QVERIFY(o.differs());
        QVERIFY(prompter_.shown.empty());
    }

    // Clicking another row with a change typed: Yes stores it as Apply does and
    // moves, No moves and stores nothing, Cancel stays with the text still there,
    // and a refused Apply (it says why) stays too.
    void clickingAnotherRow_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("refused");
        for (int w = 0; w < int(leavings().size()); ++w) {
            const char* name = leavings()[std::size_t(w)].name;
            QTest::addRow("%s, yes", name) << w << Answer::Yes << false;
            QTest::addRow("%s, no", name) << w << Answer::No << false;
            QTest::addRow("%s, cancel", name) << w << Answer::Cancel << false;
            if (leavings()[std::size_t(w)].refusable)
                QTest::addRow("%s, yes but refused", name) << w << Answer::Yes << true;
        }
    }
    void clickingAnotherRow()
    {
        QFETCH(int, window);
        QFETCH(Answer, answer);
        QFETCH(bool, refused);
        const Leaving& l = leavings()[std::size_t(window)];
        Opened o = open(l.kind);
        o.list->setCurrentRow(l.row);
        QLineEdit* box = lineEdit(*o.window, l.box);
        const QString text = refused ? QString() : l.typed(box->text());
        const QByteArray expected = refused ? QByteArray() : appliedBytes(l, text);
        const QByteArray before = o.bytes();
        typeOver(box, text);
        prompter_.shown.clear();
        prompter_.answers = {answer};

        clickRow(o.list, l.other);
        QCoreApplication::processEvents();  // what the click leaves queued

        QVERIFY(!prompter_.shown.empty());
        QCOMPARE(prompter_.shown[0].text, question());
        QCOMPARE(prompter_.shown[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(prompter_.shown.size(), refused ? 2u : 1u);  // a refusal says why
        const bool moves = answer != Answer::Cancel && !refused;
        QCOMPARE(o.list->currentRow(), moves ? l.other : l.row);
        QCOMPARE(o.list->selectedItems(), QList<QListWidgetItem*>{o.list->item(moves ? l.other : l.row)});
        if (answer == Answer::Yes && !refused) {
            QVERIFY(expected != before);
            QVERIFY(o.bytes() == expected);
        } else {
            QVERIFY(o.bytes() == before);
        }
        if (moves) {
            QVERIFY(!o.differs());
        } else {
            QCOMPARE(box->text(), text);
            QVERIFY(o.differs());
        }
        // Applied, the record asks nothing when left again.
        if (answer == Answer::Yes && !refused) {
            prompter_.shown.clear();
            clickRow(o.list, l.row);
            QVERIFY(prompter_.shown.empty());
            QCOMPARE(o.list->currentRow(), l.row);
        }
    }

    // Closing with a change typed: Yes applies and closes, No closes, Cancel stays.
    void closingTheWindow_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<bool>("byExitButton");
        QTest::addColumn<Answer>("answer");
        for (int w = 0; w < int(leavings().size()); ++w) {
            for (const bool button : {true, false}) {
                if (button && !leavings()[std::size_t(w)].exitButton)
                    continue;
                for (const Answer a : {Answer::Yes, Answer::No, Answer::Cancel})
                    QTest::addRow("%s, %s, %s", leavings()[std::size_t(w)].name, button ? "exit button" : "close box",
                                  a == Answer::Yes  ? "yes"
                                  : a == Answer::No ? "no"
                                                    : "cancel")
                        << w << button << a;
            }
        }
    }
    void closingTheWindow()
    {
        QFETCH(int, window);
        QFETCH(bool, byExitButton);
        QFETCH(Answer, answer);
        const Leaving& l = leavings()[std::size_t(window)];
        Opened o = open(l.kind);
        o.list->setCurrentRow(l.row);
        QLineEdit* box = lineEdit(*o.window, l.box);
        const QString text = l.typed(box->text());
        const QByteArray expected = appliedBytes(l, text);
        const QByteArray before = o.bytes();
        typeOver(box, text);
        prompter_.shown.clear();
        // The new-officer editor then asks about its unsaved files: stay there.
        prompter_.answers = {answer, Answer::Cancel};

        if (byExitButton)
            QTest::mouseClick(o.window->findChild<QPushButton*>(QString::fromLatin1(l.exitButton)), Qt::LeftButton);
        else
            o.window->close();

        QVERIFY(!prompter_.shown.empty());
        QCOMPARE(prompter_.shown[0].text, question());
        const bool unsavedFiles = l.kind == Kind::NewOfficers && answer == Answer::Yes;
        QCOMPARE(prompter_.shown.size(), unsavedFiles ? 2u : 1u);
        if (unsavedFiles)
            QCOMPARE(prompter_.shown[1].text, GetResText(Text::SaveChanges));
        QCOMPARE(o.window->isVisible(), answer == Answer::Cancel || unsavedFiles);
        QVERIFY(o.bytes() == (answer == Answer::Yes ? expected : before));
        if (answer == Answer::Cancel)
            QCOMPARE(box->text(), text);
    }

    void closingWithoutEditsAsksNothing()
    {
        for (const Leaving& l : leavings()) {
            Opened o = open(l.kind);
            o.list->setCurrentRow(l.row);
            if (l.exitButton)
                QTest::mouseClick(o.window->findChild<QPushButton*>(QString::fromLatin1(l.exitButton)), Qt::LeftButton);
            else
                o.window->close();
            QVERIFY(!o.window->isVisible());
        }
        QVERIFY(prompter_.shown.empty());
    }

    // The name search of the new-officer editor moves its list like a click.
    void theNameSearchAsksBeforeItMovesTheList_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("no") << Answer::No;
        QTest::newRow("cancel") << Answer::Cancel;
    }
    void theNameSearchAsksBeforeItMovesTheList()
    {
        QFETCH(Answer, answer);
        Opened o = open(Kind::NewOfficers);
        auto* form = static_cast<NewOfficerEditor*>(o.window.get());
        const int from = 1;
        const int to = 5;
        const QString name = form->systemSave().officerName(to);
        QVERIFY(!name.isEmpty());
        o.list->setCurrentRow(from);
        test::Retype(form->Text3[0], QString::number((form->Text3[0]->text().toInt() + 1) % 8));
        const QString typed = form->Text3[0]->text();
        const QByteArray before = o.bytes();
        prompter_.answers = {answer};
        test::CommitText(form->Text5, name);
        QTest::keyClick(form->Text5, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, question());
        QVERIFY(o.bytes() == before);
        if (answer == Answer::Cancel) {
            QCOMPARE(o.list->currentRow(), from);
            QCOMPARE(form->Text3[0]->text(), typed);
        } else {
            QCOMPARE(o.list->currentRow(), to);
            QCOMPARE(form->person().Text1[4]->text(), name);
        }
    }

    // Opening another system save leaves the record too: its question comes
    // before the one about unsaved files.
    void openingAnotherFileAsksFirst()
    {
        Opened o = open(Kind::NewOfficers);
        auto* form = static_cast<NewOfficerEditor*>(o.window.get());
        o.list->setCurrentRow(1);
        test::Retype(form->Text3[0], QString::number((form->Text3[0]->text().toInt() + 1) % 8));
        prompter_.answers = {Answer::Yes, Answer::Cancel};
        form->sOpenfile->trigger();
        QCOMPARE(prompter_.shown.size(), 2u);
        QCOMPARE(prompter_.shown[0].text, question());
        QCOMPARE(prompter_.shown[1].text, GetResText(Text::SaveChanges));
        QVERIFY(form->modified());
        QVERIFY(!o.differs());
        QVERIFY(dialogs_.requests.empty());
    }
};

QTEST_MAIN(LeavingEditedRecordsTest)
#include "leaving_edited_records_uitest.moc"
