// Edits not yet applied in the four views of the saved-game editor: a view read
// from the demo saves and left alone never counts as edited, and a change typed,
// chosen or ticked in any of its kinds of control does, as does one that Apply
// would refuse.
#include "demo_folder/demo_folder.h"
#include "saveeditor/document_kinds.h"
#include "saveeditor/family_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/texts.h"
#include "support/file_bytes.h"
#include "support/loaded_save.h"
#include "support/scripted_picker.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

#include <array>
#include <functional>
#include <memory>

using namespace varkel;

namespace {

constexpr int kSlotCount = 9;

// A change as a user makes it in one kind of control, and the view it is made in.
struct Edit {
    const char* name;
    int mode;  // 0 officer, 1 treasure, 2 relationship, 3 family member
    int record;
    std::function<void(QWidget& view)> make;
};

void retypeName(QWidget& view, const char* box, const QString& text)
{
    auto* name = view.findChild<QLineEdit*>(QString::fromLatin1(box));
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    test::CommitText(name, text);
}

void choose(QWidget& view, const char* list, int by)
{
    auto* combo = view.findChild<QComboBox*>(QString::fromLatin1(list));
    combo->setCurrentIndex((combo->currentIndex() + by) % combo->count());
}

void tick(QWidget& view, const char* box)
{
    view.findChild<QAbstractButton*>(QString::fromLatin1(box))->click();
}

// A box whose number goes up by `step` (down when that passes `top`).
void bump(QWidget& view, const char* box, int top, int step = 1)
{
    auto* edit = view.findChild<QLineEdit*>(QString::fromLatin1(box));
    const int n = edit->text().toInt();
    test::Retype(edit, QString::number(n + step <= top ? n + step : n - step));
}

}  // namespace

class PendingEditsTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveDocument> document_;
    std::unique_ptr<DocumentKinds> kinds_;
    // The four views in one window, as the editor holds them.
    std::unique_ptr<QWidget> window_;
    OfficerPanel* officers_ = nullptr;
    TreasurePanel* treasures_ = nullptr;
    RelationPanel* relations_ = nullptr;
    FamilyPanel* family_ = nullptr;

    void load(int slot)
    {
        kinds_.reset();
        document_ = test::OpenDemoDocument(*folder_, slot);
        kinds_ = std::make_unique<DocumentKinds>(*document_, QStringList());
        session_.officerCount = tables().officerCount;
        session_.officerNames = tables().officerNames;
    }
    const QByteArray& save() const { return document_->bytes(); }
    const SaveTables& tables() const { return document_->tables(); }
    const ScenarioData& scenario() const { return document_->scenario(); }

    void makeViews()
    {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        officers_ = new OfficerPanel(session_);
        officers_->setCityNames(scenario().cityNames);
        treasures_ = new TreasurePanel(session_);
        relations_ = new RelationPanel(session_);
        family_ = new FamilyPanel(session_);
        family_->setRandomSource([] { return 0.0; });
        for (QWidget* view : std::initializer_list<QWidget*>{officers_, treasures_, relations_, family_})
            layout->addWidget(view);
        window_->show();
    }

    // The lists of the views filled from the loaded save, as their modes fill them.
    void fillViews()
    {
        officers_->setForceList(tables().leaderNames);
        for (int m = 1; m < 4; ++m) {
            QListWidget& list = *mode(m).modeList();
            list.clear();
            if (m < 3 || tables().hasFamily)
                list.addItems(mode(m).listRows(*document_).texts);
        }
    }

    ModeView& mode(int mode) const
    {
        const std::array<ModeView*, 4> views = {officers_, treasures_, relations_, family_};
        return *views[std::size_t(mode)];
    }

    void read(int mode, int record) { this->mode(mode).showRecord(*document_, record); }
    bool differs(int mode) const { return this->mode(mode).differsFrom(*kinds_); }
    // The view's Apply of the record it shows; false when it was refused.
    bool apply(int mode) { return this->mode(mode).applyShown(*kinds_); }

    QWidget& view(int mode) const
    {
        const std::array<QWidget*, 4> views = {officers_, treasures_, relations_, family_};
        return *views[std::size_t(mode)];
    }

private slots:
    void init()
    {
        prepare();
        load(demo::kDemoNewestSlot);
        makeViews();
    }

    void nothingIsShownBeforeARecordIsRead()
    {
        for (int mode = 0; mode < 4; ++mode)
            QVERIFY(!differs(mode));
    }

    // Every record of every demo save, read and left alone: odd stored values,
    // raw list items and names of duplicate codes are no edits.
    void untouchedRecordsOfEveryDemoSaveAreNoEdits()
    {
        QStringList edited;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            load(slot);
            fillViews();
            const int counts[4] = {tables().officerCount, treasure::kCount, relation::kCount,
                                   tables().hasFamily ? family::kMemberCount : 0};
            for (int mode = 0; mode < 4; ++mode) {
                for (int record = 0; record < counts[mode]; ++record) {
                    read(mode, record);
                    if (differs(mode))
                        edited << QStringLiteral("slot %1 view %2 record %3").arg(slot).arg(mode).arg(record);
                }
            }
        }
        QVERIFY2(edited.isEmpty(), qPrintable(edited.join(QStringLiteral(", "))));
        QVERIFY(prompter_.shown.empty());
    }

    // One change in each kind of control of each view; an Apply of it stores
    // other bytes, and once applied the view holds no edits any more.
    void aChangeInAnyKindOfControlIsAnEdit_data()
    {
        QTest::addColumn<int>("row");
        const int rows = int(edits().size());
        for (int i = 0; i < rows; ++i)
            QTest::newRow(edits()[std::size_t(i)].name) << i;
    }
    void aChangeInAnyKindOfControlIsAnEdit()
    {
        QFETCH(int, row);
        const Edit& edit = edits()[std::size_t(row)];
        fillViews();
        read(edit.mode, edit.record);
        QVERIFY(!differs(edit.mode));
        edit.make(view(edit.mode));
        QVERIFY(differs(edit.mode));

        QVERIFY(apply(edit.mode));
        QVERIFY(document_->canUndo());
        QVERIFY(!differs(edit.mode));
        QVERIFY(prompter_.shown.empty());
    }

    // A box that Apply refuses counts as an edit too: leaving would lose it.
    void aValueApplyRefusesIsAnEdit_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("officer, empty ability") << 0 << 1 << "Text2(0)" << "";
        QTest::newRow("officer, ability above a byte") << 0 << 1 << "Text2(0)" << "300";
        QTest::newRow("officer, money above a word") << 0 << 1 << "Text3(16)" << "70000";
        QTest::newRow("officer, no name") << 0 << 1 << "Text1(4)" << "";
        QTest::newRow("treasure, empty name") << 1 << 3 << "Text4(0)" << "";
        QTest::newRow("treasure, empty price") << 1 << 3 << "Text4(1)" << "";
        QTest::newRow("member, empty surname") << 3 << 0 << "Text8(0)" << "";
        QTest::newRow("member, empty cap") << 3 << 0 << "Text9(4)" << "";
    }
    void aValueApplyRefusesIsAnEdit()
    {
        QFETCH(int, mode);
        QFETCH(int, record);
        QFETCH(QString, box);
        QFETCH(QString, text);
        fillViews();
        read(mode, record);
        QVERIFY(!differs(mode));
        test::Retype(view(mode).findChild<QLineEdit*>(box), text);
        QVERIFY(differs(mode));
        QVERIFY(prompter_.shown.empty());  // asking is the caller's business
        // The Apply it stands for is refused, says why and stores nothing.
        QVERIFY(!apply(mode));
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
        QVERIFY(!document_->canUndo() && !document_->anyModified());
        QVERIFY(differs(mode));
    }

    // A face chosen through the face picker and not applied is an edit; the picker
    // opens on this view's face, not on the face another view read since.
    void aFaceChosenAndNotAppliedIsAnEdit()
    {
        fillViews();
        read(0, 1);
        const int face = DecodeOfficer(save(), 1).person.face;
        int openedOn = -1;
        const Picker picker = [&](PickerKind kind, int current, QWidget*) -> std::optional<int> {
            openedOn = current;
            return kind == PickerKind::Face ? std::optional<int>(face + 1) : std::nullopt;
        };
        connect(officers_, &OfficerPanel::changeFaceRequested, this, [&] { officers_->chooseFace(picker, nullptr); });
        read(3, 0);
        QVERIFY(family_->shownMember().person.face != face);  // another face was read since
        QVERIFY(!differs(0));
        QTest::mouseClick(officers_->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(openedOn, face);
        QVERIFY(differs(0));
        QVERIFY(!differs(3));
        QVERIFY(apply(0));
        QCOMPARE(DecodeOfficer(save(), 1).person.face, face + 1);
    }

    // A relationship's party is changed in the view only: the buffer stays as it
    // was until Apply.
    void aPartyChangedIsAnEditUntilApplied()
    {
        fillViews();
        read(2, 0);
        relations_->setParty(save(), tables(), 1, 3);
        QVERIFY(!document_->anyModified());
        QVERIFY(differs(2));
        QVERIFY(apply(2));
        QCOMPARE(DecodeRelation(save(), tables().officerCount, 0).b, 3);
        QVERIFY(!differs(2));
    }

    // The copy that differs from copy 0 is mended by an Apply, but leaving the
    // record untouched loses nothing.
    void aDisagreeingCopyIsNoEdit()
    {
        fillViews();
        const int i = demo::kDemoRelationWithDifferingCopy;
        QVERIFY(!DisagreeingRelationCopies(save(), i).empty());
        read(2, i);
        QVERIFY(!differs(2));
    }

private:
    static const std::vector<Edit>& edits()
    {
        static const std::vector<Edit> rows = {
            {"officer, number box", 0, 1, [](QWidget& v) { bump(v, "Text3(4)", 200); }},
            {"officer, game year box", 0, 1, [](QWidget& v) { bump(v, "Text5(0)", 355); }},
            {"officer, list", 0, 1, [](QWidget& v) { choose(v, "Combo1", 1); }},
            {"officer, tactic list", 0, 1, [](QWidget& v) { choose(v, "Combo6(3)", 1); }},
            {"officer, tick box", 0, 1, [](QWidget& v) { tick(v, "Check1(2)"); }},
            {"officer, skill box", 0, 1, [](QWidget& v) { tick(v, "Check2(0)"); }},
            {"officer, sex", 0, 1,
             [](QWidget& v) {
                 tick(v, v.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked() ? "Option2" : "Option1");
             }},
            {"officer, name box", 0, 1, [](QWidget& v) { retypeName(v, "Text1(3)", QStringLiteral("天下無雙")); }},
            {"treasure, number box", 1, 3, [](QWidget& v) { bump(v, "Text4(1)", 9000, 100); }},
            {"treasure, list", 1, 3, [](QWidget& v) { choose(v, "Combo2(2)", 1); }},
            {"treasure, name box", 1, 3, [](QWidget& v) { retypeName(v, "Text4(0)", QStringLiteral("青龍刀")); }},
            {"treasure, picture step", 1, 3, [](QWidget& v) { tick(v, "Command3"); }},
            {"relationship, list", 2, 0, [](QWidget& v) { choose(v, "Combo4", 1); }},
            {"member, number box", 3, 0, [](QWidget& v) { bump(v, "Text9(0)", 100); }},
            {"member, growth box", 3, 0, [](QWidget& v) { bump(v, "Text12(1)", 7); }},
            {"member, list", 3, 0, [](QWidget& v) { choose(v, "Combo7(2)", 1); }},
            {"member, tick box", 3, 0, [](QWidget& v) { tick(v, "Check4(0)"); }},
            {"member, skill box", 3, 0, [](QWidget& v) { tick(v, "Check3(5)"); }},
            {"member, name box", 3, 0, [](QWidget& v) { retypeName(v, "Text8(2)", QStringLiteral("子龍")); }},
            {"member, biography", 3, 0,
             [](QWidget& v) {
                 auto* biography = v.findChild<QPlainTextEdit*>(QStringLiteral("Text11"));
                 biography->setFocus();
                 test::CommitText(biography, QStringLiteral("少有大志"));
             }},
        };
        return rows;
    }
};

QTEST_MAIN(PendingEditsTest)
#include "pending_edits_uitest.moc"
