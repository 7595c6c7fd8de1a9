// The mouse wheel over a list or number box: it changes the value only while the
// box has the keyboard, and otherwise scrolls the view that holds the box, in
// every window, so scrolling a record never changes what Apply stores.
#include "demo_folder/demo_folder.h"
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/mode_view.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/ui/batch_dialog.h"
#include "shared/ui/records_window.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/start_up.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <array>
#include <functional>
#include <memory>

using namespace varkel;

namespace {

// Notches of the wheel over the middle of `w`, towards the user (down the page)
// for a negative count, as the program gets them: through the application. A
// scrolling list gets the wheel on its viewport, the part under the pointer.
void turnWheel(QWidget& w, int notches)
{
    const auto* area = qobject_cast<QAbstractScrollArea*>(&w);
    QWidget& under = area ? *area->viewport() : w;
    const QPointF middle = QRectF(under.rect()).center();
    QWheelEvent wheel(middle, under.mapToGlobal(middle), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&under, &wheel);
}

// What a list or number box shows.
QString valueOf(const QWidget& w)
{
    if (const auto* list = qobject_cast<const QComboBox*>(&w))
        return QString::number(list->currentIndex()) + QLatin1Char(':') + list->currentText();
    if (const auto* box = qobject_cast<const QAbstractSpinBox*>(&w))
        return box->text();
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(&w))
        return QString::number(slider->value());
    if (const auto* rows = qobject_cast<const QListWidget*>(&w))
        return QString::number(rows->verticalScrollBar()->value());
    qFatal("no value control");
}

// Whether the wheel gives `w` the keyboard, as Qt decides before delivering it.
bool wheelGivesFocus(const QWidget& w)
{
    return (w.focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus;
}

// The kinds of control the wheel can step, each alone in a tall scrolled page.
struct Control {
    const char* name;
    std::function<QWidget*()> make;
    bool scrollsItself;  // a scrolling list keeps the wheel, with the keyboard or not
};

const std::array<Control, 8> kControls = {{
    {"list",
     [] {
         auto* list = new QComboBox;
         for (int i = 0; i < 10; ++i)
             list->addItem(QString::number(i));
         list->setCurrentIndex(5);
         return list;
     },
     false},
    {"editable list",
     [] {
         auto* list = new QComboBox;
         list->setEditable(true);
         list->addItems({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
         list->setCurrentIndex(1);
         return list;
     },
     false},
    {"number box",
     [] {
         auto* box = new QSpinBox;
         box->setRange(0, 255);
         box->setValue(100);
         return box;
     },
     false},
    {"decimal box",
     [] {
         auto* box = new QDoubleSpinBox;
         box->setValue(50);
         return box;
     },
     false},
    {"date box", [] { return new QDateEdit(QDate(2000, 6, 15)); }, false},
    {"slider",
     [] {
         auto* slider = new QSlider(Qt::Horizontal);
         slider->setValue(50);
         return slider;
     },
     false},
    {"scrolling list",
     [] {
         auto* rows = new QListWidget;
         for (int i = 0; i < 100; ++i)
             rows->addItem(QString::number(i));
         rows->setFixedHeight(80);
         return rows;
     },
     true},
    // Made once the window is up, as pickers and side windows are.
    {"list made after the window was shown", nullptr, false},
}};

// The lists and number boxes a user can reach in `window`.
QList<QWidget*> valueControls(QWidget& window)
{
    QList<QWidget*> found;
    for (QWidget* w : window.findChildren<QWidget*>())
        if ((qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w)) && w->isVisible() && w->isEnabled())
            found << w;
    return found;
}

// Whether the wheel has anything to change in `w`: a list with one item that can be
// chosen has not.
bool canChange(const QWidget& w)
{
    const auto* list = qobject_cast<const QComboBox*>(&w);
    if (!list)
        return true;
    int choices = 0;
    for (int i = 0; i < list->count(); ++i)
        if (list->model()->flags(list->model()->index(i, list->modelColumn())) & Qt::ItemIsEnabled)
            ++choices;
    return choices > 1;
}

}  // namespace

class WheelTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    // A view as the test drives it: whether it holds edits not yet applied, its
    // Apply (none for the batch change, whose Apply makes whatever its rows say),
    // and the bytes of its document.
    struct Opened {
        QWidget* window = nullptr;
        std::function<bool()> pending;
        std::function<void()> apply;
        std::function<QByteArray()> bytes;
    };

    std::unique_ptr<SaveGameEditor> saveEditor_;
    std::unique_ptr<NewOfficerEditor> newOfficers_;
    std::unique_ptr<QWidget> sideWindow_;

    Opened openView(const QString& view)
    {
        if (view == QLatin1String("Form1")) {
            newOfficers_.reset(NewOfficerEditor::open(session_));
            if (!newOfficers_)
                qFatal("Form1 did not open");
            NewOfficerEditor& form = *newOfficers_;
            return {&form, [&form] { return form.viewDiffers(); }, [&form] { form.Command2->click(); },
                    [&form] { return form.systemSave().bytes + form.biographies().bytes; }};
        }
        saveEditor_ = test::OpenSaveEditor(session_);
        SaveGameEditor& editor = *saveEditor_;
        DocumentKinds& kinds = editor.documentKinds();
        const auto bytes = [&editor] { return editor.saveGame().bytes + editor.scenario().bytes; };
        const auto panelView = [&](int mode, ModeView* panel) -> Opened {
            editor.modes().Option3[std::size_t(mode)]->click();
            return {&editor, [&kinds, panel] { return panel->differsFrom(kinds); },
                    [panel] { panel->applyButton()->click(); }, bytes};
        };
        if (view == QLatin1String("officers"))
            return panelView(0, editor.modes().officerPanel());
        if (view == QLatin1String("treasures"))
            return panelView(1, editor.modes().treasurePanel());
        if (view == QLatin1String("relationships"))
            return panelView(2, editor.modes().relationPanel());
        if (view == QLatin1String("family"))
            return panelView(3, editor.modes().familyPanel());
        // The side windows, on the save the editor holds.
        const auto side = [&](auto* window, QPushButton* apply) -> Opened {
            sideWindow_.reset(window);
            return {window, [window] { return window->viewDiffers(); }, [apply] { apply->click(); }, bytes};
        };
        if (view == QLatin1String("Form9")) {
            auto* forces = new ForceEditor(prompter_, editor.document(), editor.scenario().courtRanks);
            return side(forces, forces->Command1);
        }
        if (view == QLatin1String("Form10")) {
            // A city whose head can be replaced.
            auto* cities = new CityEditor(session_, editor.document(), editor.scenario().cityNames, nullptr);
            cities->chooseRecord(demo::kDemoGovernedCity);
            return side(cities, cities->Command2);
        }
        if (view == QLatin1String("Form8")) {
            // Apply sets the level shown, the officer's own, for the ticked officer.
            auto* intimacy = new IntimacyEditor(session_, editor.document(), 0);
            intimacy->List1->setCurrentRow(2);
            intimacy->List1->item(2)->setCheckState(Qt::Checked);
            const QString level = intimacy->Combo1->currentText();
            sideWindow_.reset(intimacy);
            return {intimacy, [intimacy, level] { return intimacy->Combo1->currentText() != level; },
                    [intimacy] { intimacy->Command1->click(); }, bytes};
        }
        if (view == QLatin1String("batch")) {
            editor.menus().sTable->trigger();
            auto* table = editor.findChild<RecordsWindow*>();
            if (!table)
                qFatal("no records table");
            auto* batch = new BatchDialog(table->source(), {0, 3}, table->filtered().shownRecords(), nullptr);
            const QStringList typed = batch->typed();
            sideWindow_.reset(batch);
            return {batch, [batch, typed] { return batch->typed() != typed; }, nullptr, bytes};
        }
        qFatal("no view %s", qPrintable(view));
    }

    static void showActive(QWidget& window)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the window did not become active");
    }

private slots:
    void initTestCase()
    {
        // The guard as the program's start-up installs it for every window.
        prepare();
        QVERIFY(StartUp(session_, {temp_->path(), folder_->path()}));
    }

    void init() { prepare(); }

    void cleanup()
    {
        sideWindow_.reset();
        saveEditor_.reset();
        newOfficers_.reset();
    }

    void aControlTakesTheWheelOnlyWithTheKeyboard_data()
    {
        QTest::addColumn<int>("control");
        for (std::size_t i = 0; i < kControls.size(); ++i)
            QTest::newRow(kControls[i].name) << int(i);
    }

    void aControlTakesTheWheelOnlyWithTheKeyboard()
    {
        QFETCH(int, control);
        const Control& row = kControls[std::size_t(control)];
        QWidget window;
        auto* page = new QScrollArea(&window);
        auto* body = new QWidget;
        auto* column = new QVBoxLayout(body);
        auto* elsewhere = new QLineEdit;  // where the keyboard is
        column->addWidget(elsewhere);
        column->addSpacing(400);
        QWidget* box = row.make ? row.make() : nullptr;
        if (box)
            column->addWidget(box);
        column->addSpacing(2000);
        page->setWidget(body);
        page->setWidgetResizable(true);
        (new QVBoxLayout(&window))->addWidget(page);
        window.resize(300, 300);
        showActive(window);
        if (!box) {
            box = kControls[0].make();
            column->insertWidget(2, box);
            box->show();
        }
        QScrollBar* bar = page->verticalScrollBar();
        bar->setValue(100);
        elsewhere->setFocus();
        QVERIFY(!box->hasFocus());
        QVERIFY(!wheelGivesFocus(*box));

        // Without the keyboard: the page scrolls, the value stays.
        const QString value = valueOf(*box);
        for (const int notches : {-1, 1}) {
            const int scrolled = bar->value();
            const QString shown = valueOf(*box);
            turnWheel(*box, notches);
            QCOMPARE(valueOf(*box) != shown, row.scrollsItself);
            QCOMPARE(bar->value() != scrolled, !row.scrollsItself);
        }
        QCOMPARE(valueOf(*box), value);

        // With it: the value changes, the page stays.
        box->setFocus();
        QVERIFY(box->hasFocus());
        for (const int notches : {-1, 1}) {
            const int scrolled = bar->value();
            const QString shown = valueOf(*box);
            turnWheel(*box, notches);
            QVERIFY(valueOf(*box) != shown);
            QCOMPARE(bar->value(), scrolled);
        }
    }

    void aPassingWheelChangesNothingInAView_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<bool>("scrolled");  // the view scrolls in a small window

        QTest::newRow("saved-game editor, officers") << "officers" << true;
        QTest::newRow("saved-game editor, treasures") << "treasures" << true;
        QTest::newRow("saved-game editor, relationships") << "relationships" << true;
        QTest::newRow("saved-game editor, family") << "family" << true;
        QTest::newRow("new-officer editor") << "Form1" << true;
        QTest::newRow("intimacy") << "Form8" << false;
        QTest::newRow("forces") << "Form9" << false;
        QTest::newRow("cities") << "Form10" << false;
        QTest::newRow("batch change of the records table") << "batch" << false;
    }

    void aPassingWheelChangesNothingInAView()
    {
        QFETCH(QString, view);
        QFETCH(bool, scrolled);
        const Opened opened = openView(view);
        QWidget& window = *opened.window;
        window.resize(window.minimumSizeHint());
        showActive(window);
        const QList<QWidget*> controls = valueControls(window);
        QVERIFY(!controls.isEmpty());
        QVERIFY(!opened.pending());
        const QByteArray bytes = opened.bytes();
        QStringList values;
        for (const QWidget* w : controls)
            values << valueOf(*w);

        // Without the keyboard, down, then up: no value moves, the view scrolls where
        // it can, and Apply stores nothing.
        bool scrolls = false;
        for (const int notches : {-1, 1}) {
            for (qsizetype i = 0; i < controls.size(); ++i) {
                QWidget& w = *controls[i];
                const QString name = w.objectName();
                if (w.hasFocus())
                    w.clearFocus();
                QVERIFY(!w.hasFocus());
                QVERIFY2(!wheelGivesFocus(w), qPrintable(name));
                const ScrollPane* pane = ScrollPaneOf(&w);
                const QScrollBar* bar = pane ? pane->verticalScrollBar() : nullptr;
                const int at = bar ? bar->value() : 0;
                turnWheel(w, notches);
                QVERIFY2(valueOf(w) == values[i], qPrintable(name));
                if (bar && (notches < 0 ? at < bar->maximum() : at > bar->minimum())) {
                    QVERIFY2(bar->value() != at, qPrintable(name));
                    scrolls = true;
                }
            }
            QVERIFY(!opened.pending());
            if (opened.apply)
                opened.apply();
            QVERIFY(opened.bytes() == bytes);
        }
        QCOMPARE(scrolls, scrolled);
        QVERIFY(prompter_.shown.empty());

        // With the keyboard the wheel still chooses. A record left on the way is
        // left without its edits.
        prompter_.answers.assign(controls.size(), Answer::No);
        for (QWidget* w : controls) {
            if (!w->isVisible() || !w->isEnabled() || !canChange(*w))
                continue;
            w->setFocus();
            QVERIFY(w->hasFocus());
            const QString shown = valueOf(*w);
            turnWheel(*w, -1);
            if (valueOf(*w) == shown)
                turnWheel(*w, 1);
            QVERIFY2(valueOf(*w) != shown, qPrintable(w->objectName()));
        }
    }
};

QTEST_MAIN(WheelTest)
#include "wheel_uitest.moc"
