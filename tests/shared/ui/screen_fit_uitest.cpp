// Every window on a small screen (a work area of 1024×700, as a laptop of 1366×768
// or 1280×720 leaves with its panel): it fits, every control can be reached (in
// sight, or scrolled into sight when it gets the focus), nothing is squeezed below
// its minimum or laid over another. Larger screens show every view of the editors
// whole, as before. Where a window was is remembered in the settings file and
// restored only where it still fits.
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/ui/backups_window.h"
#include "saveeditor/ui/compare_window.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/side_windows.h"
#include "shared/game_folder.h"
#include "shared/ini_file.h"
#include "shared/texts.h"
#include "shared/ui/batch_dialog.h"
#include "shared/ui/face_picker.h"
#include "shared/ui/start_window.h"
#include "shared/ui/officer_picker.h"
#include "shared/ui/records_window.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/window_geometry.h"
#include "support/failing_file_io.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>

using namespace varkel;

namespace {

// The screens of this test program (see main): a small laptop's work area, the
// main one, and beside it a wide but low one.
const QSize kWorkArea(1024, 700);
const QSize kWideWorkArea(1280, 720);

enum class Shown {
    StartWindow,
    AboutView,
    OfficerView,
    TreasureView,
    RelationView,
    FamilyView,
    NewOfficerEditor,
    FacePicker,
    OfficerPicker,
    Forecast,
    Intimacy,
    Forces,
    Cities,
    RecordsTable,
    BatchChange,
    Comparison,
    Backups,
};

// Controls of Qt's own making (a scroll area's viewport, a message box's label,
// the text box of an editable list).
bool ownedByQt(const QWidget* w)
{
    return w->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<const QComboBox*>(w->parentWidget());
}

bool named(const QWidget* w)
{
    return !w->objectName().isEmpty() && !ownedByQt(w);
}

// Where `w` is in its window.
QRect placeOf(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// The part of `w` its ancestors leave in sight, in its window's coordinates.
QRect shownPart(const QWidget* w)
{
    QRect shown = placeOf(w);
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        shown &= placeOf(p);
    return shown;
}

bool inLayout(const QLayout* layout, const QWidget* w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w || (item->layout() && inLayout(item->layout(), w)))
            return true;
    }
    return false;
}

// Whether `w` shows whole, or as much of it as its scroll pane can show.
QString whyNotInSight(const QWidget* w)
{
    const QRect place = placeOf(w);
    const QRect shown = shownPart(w);
    if (shown == place)
        return {};
    if (const ScrollPane* pane = ScrollPaneOf(const_cast<QWidget*>(w))) {
        const QSize view = pane->viewport()->size();
        if (shown.width() >= std::min(place.width(), view.width()) &&
            shown.height() >= std::min(place.height(), view.height()))
            return {};
    }
    return QStringLiteral("%1 at %2,%3 %4x%5 shows %6x%7")
        .arg(w->objectName())
        .arg(place.x())
        .arg(place.y())
        .arg(place.width())
        .arg(place.height())
        .arg(shown.width())
        .arg(shown.height());
}

// The smallest size the layout may give `w` and still draw it whole.
QSize smallestWhole(const QWidget* w)
{
    const QSizePolicy policy = w->sizePolicy();
    QSize least = w->minimumSizeHint().expandedTo(QSize(0, 0));
    if (policy.horizontalPolicy() == QSizePolicy::Ignored)
        least.setWidth(0);
    if (policy.verticalPolicy() == QSizePolicy::Ignored)
        least.setHeight(0);
    least = least.boundedTo(w->maximumSize());
    if (w->minimumWidth() > 0)
        least.setWidth(w->minimumWidth());
    if (w->minimumHeight() > 0)
        least.setHeight(w->minimumHeight());
    return least;
}

// What a hand-placed label needs to show its text whole: the ink of its text
// inside its margins; nothing for other controls.
QSize inkOf(const QWidget* w)
{
    const auto* label = qobject_cast<const QLabel*>(w);
    if (!label || label->text().isEmpty() || label->wordWrap())
        return {};
    const QRect ink = label->fontMetrics().tightBoundingRect(label->text());
    return ink.size() + (label->size() - label->contentsRect().size());
}

// The window fits the work area, frame and all.
void verifyFitsWorkArea(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    QVERIFY2(QGuiApplication::primaryScreen()->availableGeometry().contains(frame),
             qPrintable(QStringLiteral("%1: frame %2,%3 %4x%5")
                            .arg(window.objectName())
                            .arg(frame.x())
                            .arg(frame.y())
                            .arg(frame.width())
                            .arg(frame.height())));
}

// Every named control in sight (scrolled there when in a scroll pane: by the
// focus where it takes the focus), none below its minimum size, none laid over
// another of the same layout.
void verifyEveryControlReachable(QWidget& window)
{
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QList<QWidget*> all = window.findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisible() || ownedByQt(w))
            continue;
        // A control placed by hand (the start window, the face picker) has the size its
        // window gives it: its text must show whole.
        const bool laidOut = w->parentWidget()->layout() && inLayout(w->parentWidget()->layout(), w);
        const QSize least = laidOut ? smallestWhole(w) : inkOf(w);
        QVERIFY2(w->width() >= least.width() && w->height() >= least.height(),
                 qPrintable(QStringLiteral("%1 (%2) is %3x%4, below %5x%6")
                                .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()))
                                .arg(w->width())
                                .arg(w->height())
                                .arg(least.width())
                                .arg(least.height())));
        if (!named(w))
            continue;
        if (ScrollPane* pane = ScrollPaneOf(w)) {
            pane->horizontalScrollBar()->setValue(pane->horizontalScrollBar()->maximum());
            pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
            if (w->focusPolicy() & Qt::TabFocus && w->isEnabled()) {
                if (QWidget* focused = QApplication::focusWidget())
                    focused->clearFocus();  // so that the focus moves to `w`
                w->setFocus(Qt::TabFocusReason);
                QCOMPARE(QApplication::focusWidget(), w);
            } else {
                pane->reveal(w);
            }
        }
        const QString why = whyNotInSight(w);
        QVERIFY2(why.isEmpty(), qPrintable(window.objectName() + QStringLiteral(": ") + why));
    }
    for (QWidget* w : all) {
        if (!w->isVisible() || ownedByQt(w) || !w->parentWidget()->layout() ||
            !inLayout(w->parentWidget()->layout(), w))
            continue;
        for (QWidget* other : all) {
            if (other == w || other->parentWidget() != w->parentWidget() || !other->isVisible() ||
                !inLayout(w->parentWidget()->layout(), other))
                continue;
            QVERIFY2(!w->geometry().intersects(other->geometry()),
                     qPrintable(QStringLiteral("%1 and %2 overlap").arg(w->objectName(), other->objectName())));
        }
    }
}

// The scroll panes of the window that scroll; none when its views show whole.
QString scrollingPanes(const QWidget& window)
{
    QStringList panes;
    for (const ScrollPane* pane : window.findChildren<ScrollPane*>())
        if (pane->isVisible() &&
            (pane->horizontalScrollBar()->maximum() > 0 || pane->verticalScrollBar()->maximum() > 0))
            panes << pane->widget()->objectName() + QLatin1Char('/') + pane->parentWidget()->objectName();
    return panes.join(QStringLiteral(", "));
}

// True when a visible scroll pane of the window scrolls sideways.
bool scrollsSideways(const QWidget& window)
{
    const auto panes = window.findChildren<ScrollPane*>();
    return std::any_of(panes.begin(), panes.end(), [](const ScrollPane* pane) {
        return pane->isVisible() && pane->horizontalScrollBar()->maximum() > 0;
    });
}

}  // namespace

Q_DECLARE_METATYPE(Shown)

class ScreenFitTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QString settingsPath() const { return temp_->filePath(kSettingsFileName); }

    std::unique_ptr<SaveGameEditor> openSaveEditor(int mode)
    {
        auto form = test::OpenSaveEditor(session_);
        form->setRandomSource([] { return 0.0; });
        form->show();
        form->modes().Option3[mode]->click();
        return form;
    }

    // Opens what `shown` names as a user reaches it and hands its window to `check`.
    void withWindow(Shown shown, const std::function<void(QWidget&)>& check)
    {
        switch (shown) {
        case Shown::StartWindow:
        case Shown::AboutView: {
            StartWindow form3(session_);
            form3.show();
            if (shown == Shown::AboutView)
                form3.showAbout();
            check(form3);
            return;
        }
        case Shown::OfficerView:
        case Shown::TreasureView:
        case Shown::RelationView:
        case Shown::FamilyView: {
            auto form = openSaveEditor(int(shown) - int(Shown::OfficerView));
            check(*form);
            return;
        }
        case Shown::NewOfficerEditor: {
            std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
            QVERIFY(form);
            form->show();
            check(*form);
            return;
        }
        case Shown::FacePicker:
        case Shown::OfficerPicker: {
            std::unique_ptr<QDialog> picker;
            if (shown == Shown::FacePicker)
                picker = std::make_unique<FacePicker>(session_, 0);
            else
                picker = std::make_unique<OfficerPicker>(session_, 0);
            KeepWindowGeometry(*picker, session_);
            picker->show();
            check(*picker);
            return;
        }
        case Shown::Forecast:
        case Shown::Intimacy:
        case Shown::Forces:
        case Shown::Cities: {
            auto form = openSaveEditor(shown == Shown::Forecast ? 3 : 0);
            bool ran = false;
            form->setSideWindowRunner([&](QDialog& window) {
                ran = true;
                window.show();
                check(window);
                window.hide();
            });
            if (shown == Shown::Forecast) {
                form->modes().familyPanel()->List4->setCurrentRow(0);  // a child: its forecast can be asked for
                form->sideWindows().openGrowthForecast();
            } else if (shown == Shown::Intimacy) {
                form->column().List1->setCurrentRow(form->tables().controlled.front());
                form->modes().officerPanel()->Command10->click();
            } else if (shown == Shown::Forces) {
                form->menus().sBingQi->trigger();
            } else {
                form->menus().sCity->trigger();
            }
            QVERIFY(ran);
            return;
        }
        case Shown::RecordsTable:
        case Shown::BatchChange: {
            auto form = openSaveEditor(0);
            RecordsWindow* table = form->sideWindows().openRecordsTable(SaveRecord::Officer, form.get(), [](int) {});
            if (shown == Shown::RecordsTable) {
                check(*table);
                return;
            }
            BatchDialog batch(table->source(), {0, 1}, table->filtered().shownRecords(), table);
            batch.addRow();
            batch.show();
            check(batch);
            return;
        }
        case Shown::Comparison:
        case Shown::Backups: {
            auto form = openSaveEditor(0);
            // The windows over the editor's save, as its menu opens them.
            std::unique_ptr<QDialog> window;
            if (shown == Shown::Comparison) {
                const QString other = SaveGame::slotPath(session_.gameFolder, 0);
                window = std::make_unique<CompareWindow>(
                    session_, form->document(),
                    SaveKindsContext{form->scenario().cityNames, form->scenario().courtRanks, {}, std::nullopt, false},
                    other, test::FileBytes(other), [](SaveRecord, int) {}, form.get());
            } else {
                window = std::make_unique<BackupsWindow>(session_, form->document(), [](const QString&) {}, form.get());
            }
            window->setAttribute(Qt::WA_DeleteOnClose, false);
            window->show();
            check(*window);
            return;
        }
        }
    }

    static void addWindowRows()
    {
        QTest::addColumn<Shown>("shown");
        QTest::newRow("start window") << Shown::StartWindow;
        QTest::newRow("About view") << Shown::AboutView;
        QTest::newRow("saved-game editor, officers") << Shown::OfficerView;
        QTest::newRow("saved-game editor, treasures") << Shown::TreasureView;
        QTest::newRow("saved-game editor, relationships") << Shown::RelationView;
        QTest::newRow("saved-game editor, family") << Shown::FamilyView;
        QTest::newRow("new-officer editor") << Shown::NewOfficerEditor;
        QTest::newRow("face picker") << Shown::FacePicker;
        QTest::newRow("officer picker") << Shown::OfficerPicker;
        QTest::newRow("growth forecast") << Shown::Forecast;
        QTest::newRow("intimacy editor") << Shown::Intimacy;
        QTest::newRow("force editor") << Shown::Forces;
        QTest::newRow("city editor") << Shown::Cities;
        QTest::newRow("records table") << Shown::RecordsTable;
        QTest::newRow("batch change") << Shown::BatchChange;
        QTest::newRow("comparison") << Shown::Comparison;
        QTest::newRow("backups") << Shown::Backups;
    }

    // The place stored for `window` in the settings file.
    // The place kept for `window` on the main screen.
    QString storedPlace(const QString& window) const
    {
        return ReadIniValue(settingsPath(), kWindowsSection,
                            WindowPlaceKey(window, ScreenShape::of(*QGuiApplication::primaryScreen())));
    }

private slots:
    void init()
    {
        prepare();
        session_.settingsPath = settingsPath();
    }

    void theScreenIsALaptopsWorkArea()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(QPoint(0, 0), kWorkArea));
    }

    void everyWindowFitsTheWorkArea_data() { addWindowRows(); }
    void everyWindowFitsTheWorkArea()
    {
        QFETCH(Shown, shown);
        withWindow(shown, [](QWidget& window) { verifyFitsWorkArea(window); });
    }

    void everyControlCanBeReached_data() { addWindowRows(); }
    void everyControlCanBeReached()
    {
        QFETCH(Shown, shown);
        withWindow(shown, [](QWidget& window) { verifyEveryControlReachable(window); });
    }

    // The buttons, the mode choice, the search box and the status line stay in
    // sight while the record scrolls, up and down only where the width allows.
    void theCommandsStayInSightWhileTheRecordScrolls_data()
    {
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<QStringList>("controls");
        QTest::addColumn<bool>("scrolls");  // the work area is too small for the record
        QTest::addColumn<bool>("sideways");  // and too narrow for it
        const QStringList editor = {"Option3(0)", "Option3(1)", "Option3(2)", "Option3(3)", "Label28",
                                    "Combo10",    "List1",      "Text13",     "StatusLine"};
        QTest::newRow("officers") << Shown::OfficerView
                                  << editor + QStringList{"Check5",    "Command11",   "Command9",
                                                          "Command10", "Command7(0)", "Command8(0)"}
                                  << true << false;
        QTest::newRow("treasures") << Shown::TreasureView
                                   << editor +
                                          QStringList{"List2", "Label31", "Command13", "Command7(1)", "Command8(1)"}
                                   << true << false;
        QTest::newRow("relationships") << Shown::RelationView
                                       << editor + QStringList{"List3", "Command7(2)", "Command8(2)"} << false
                                       << false;
        QTest::newRow("family") << Shown::FamilyView
                                << editor + QStringList{"List4", "Command16", "Command7(3)", "Command8(3)"} << true
                                << true;
        QTest::newRow("new officers") << Shown::NewOfficerEditor
                                      << QStringList{"Label5",   "List1",    "Text5",     "Command4",
                                                     "Command2", "Command3", "StatusLine"}
                                      << true << false;
    }
    void theCommandsStayInSightWhileTheRecordScrolls()
    {
        QFETCH(Shown, shown);
        QFETCH(QStringList, controls);
        QFETCH(bool, scrolls);
        QFETCH(bool, sideways);
        withWindow(shown, [&](QWidget& window) {
            QCOMPARE(!scrollingPanes(window).isEmpty(), scrolls);
            QCOMPARE(scrollsSideways(window), sideways);
            for (const QString& name : controls) {
                auto* w = window.findChild<QWidget*>(name);
                QVERIFY2(w && w->isVisible(), qPrintable(name));
                QVERIFY2(!ScrollPaneOf(w), qPrintable(name));
                QVERIFY2(whyNotInSight(w).isEmpty(), qPrintable(whyNotInSight(w)));
            }
        });
    }

    // On a screen large enough for it, a window opens at its size hint: there the
    // editors show every view whole, as they did before their views could scroll.
    void everyViewShowsWholeAtTheOpeningSizeOfALargeScreen()
    {
        auto form = test::OpenSaveEditor(session_);
        form->resize(form->sizeHint());
        form->show();
        for (int mode : {0, 1, 2, 3}) {
            form->modes().Option3[mode]->click();
            QCOMPARE(scrollingPanes(*form), QString());
        }
        std::unique_ptr<NewOfficerEditor> newOfficers(NewOfficerEditor::open(session_));
        newOfficers->resize(newOfficers->sizeHint());
        newOfficers->show();
        QCOMPARE(scrollingPanes(*newOfficers), QString());
    }

    // On a screen wide enough but too low for it (1280×720), a window gets room for
    // the scroll bar beside its record, which then scrolls up and down only.
    void aLowWindowScrollsOnlyUpAndDown()
    {
        QScreen* wide = QGuiApplication::screens().value(1);
        QVERIFY(wide);
        QCOMPARE(wide->availableGeometry().size(), kWideWorkArea);
        QWidget window;
        window.setObjectName(QStringLiteral("Tall"));
        auto* body = new QWidget;
        body->setMinimumSize(900, 1000);
        auto* pane = new ScrollPane(body);
        (new QVBoxLayout(&window))->addWidget(pane);
        window.setScreen(wide);
        KeepWindowGeometry(window, session_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(wide->availableGeometry().contains(window.frameGeometry()));
        QVERIFY(pane->verticalScrollBar()->maximum() > 0);
        QCOMPARE(pane->horizontalScrollBar()->maximum(), 0);
    }

    // Building the family view when it is first shown changes neither the window's
    // size nor the size it asks for.
    void theFamilyViewIsBuiltWhenFirstShownWithoutResizingTheWindow()
    {
        auto form = openSaveEditor(0);
        QVERIFY(!form->findChild<QWidget*>(QStringLiteral("Frame10(3)")));
        const QSize size = form->size();
        const QSize hint = form->sizeHint();
        form->modes().Option3[3]->click();
        QVERIFY(form->findChild<QWidget*>(QStringLiteral("Frame10(3)")));
        QCOMPARE(form->size(), size);
        QCOMPARE(form->sizeHint(), hint);
    }

    // A control given the focus by a refused value (not by Tab) is scrolled into sight.
    void aRefusedValueScrollsItsBoxIntoSight()
    {
        std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ScrollPane* pane = ScrollPaneOf(form->Text3[9]);
        QVERIFY(pane);
        QVERIFY(pane->verticalScrollBar()->maximum() > 0);  // the record does not fit: it scrolls
        pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
        form->Text2[0]->clear();
        form->Command2->click();
        QCOMPARE(QApplication::focusWidget(), form->Text2[0]);
        QCOMPARE(whyNotInSight(form->Text2[0]), QString());
    }

    void theWindowsPlaceIsRemembered_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("saved-game editor") << QStringLiteral("Form4");
        QTest::newRow("new-officer editor") << QStringLiteral("Form1");
        QTest::newRow("start window") << QStringLiteral("Form3");
    }
    void theWindowsPlaceIsRemembered()
    {
        QFETCH(QString, window);
        const auto open = [&]() -> std::unique_ptr<QWidget> {
            if (window == QLatin1String("Form4"))
                return test::OpenSaveEditor(session_);
            if (window == QLatin1String("Form1"))
                return std::unique_ptr<QWidget>(NewOfficerEditor::open(session_));
            return std::make_unique<StartWindow>(session_);
        };
        QRect frame;
        QSize size;
        {
            auto form = open();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            form->move(37, 23);
            if (window != QLatin1String("Form3"))
                form->resize(form->minimumSizeHint() + QSize(41, 29));
            frame = form->frameGeometry();
            size = form->size();
            QVERIFY(form->close());
        }
        QVERIFY(!storedPlace(window).isEmpty());
        auto again = open();
        again->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.get()));
        QCOMPARE(again->frameGeometry(), frame);
        QCOMPARE(again->size(), size);
    }

    // What is stored is restored only where it fits the work area whole; otherwise
    // the window opens at its own size within the work area.
    void aStoredPlaceIsRestoredOnlyWhereItFits_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("restored");
        QTest::newRow("inside") << "40,30,900,600,4,4,0" << true;
        QTest::newRow("at the corners") << "0,0,1020,696,4,4,0" << true;
        QTest::newRow("frame one pixel too wide") << "0,0,1021,696,4,4,0" << false;
        QTest::newRow("frame one pixel too low") << "0,1,1020,696,4,4,0" << false;
        QTest::newRow("off the screen") << "2000,30,900,600,4,4,0" << false;
        QTest::newRow("above the screen") << "40,-300,900,600,4,4,0" << false;
        QTest::newRow("taller than the screen") << "0,0,900,800,4,4,0" << false;
        QTest::newRow("maximized") << "40,30,900,600,4,4,1" << true;
        QTest::newRow("damaged") << "40,30,900" << false;
        QTest::newRow("not numbers") << "a,b,c,d,e,f,g" << false;
        QTest::newRow("no size") << "40,30,0,0,4,4,0" << false;
    }
    void aStoredPlaceIsRestoredOnlyWhereItFits()
    {
        QFETCH(QString, stored);
        QFETCH(bool, restored);
        QVERIFY(!WriteIniValue(settingsPath(), kWindowsSection, QStringLiteral("Form4"), stored));
        auto form = test::OpenSaveEditor(session_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QStringList n = stored.split(QLatin1Char(','));
        const bool maximized = n.size() == 7 && n[6] == QLatin1String("1");
        QCOMPARE(form->isMaximized(), maximized && restored);
        if (restored && !maximized) {
            QCOMPARE(form->frameGeometry().topLeft(), QPoint(n[0].toInt(), n[1].toInt()));
            QCOMPARE(form->size(), QSize(n[2].toInt(), n[3].toInt()));
        } else if (!restored) {
            verifyFitsWorkArea(*form);
            QCOMPARE(form->size(), form->sizeHint().boundedTo(form->size()));
        }
    }

    // A place is kept for the size and scale of the screen it was on: on a screen
    // of another size or scale (QT_SCALE_FACTOR=2 makes a screen half as large) the
    // window opens at its own size instead; on the same, a size larger than the work
    // area is made smaller. A place an older version kept names no screen and is
    // used where it fits whole, as it was then.
    void aPlaceIsKeptForTheScreenItWasOn_data()
    {
        QTest::addColumn<QString>("storedOn");  // "WxHxScale"; empty: an older version's key
        QTest::addColumn<QString>("screen");    // the screen the window opens on, "WxHxScale"
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("applied");  // empty: the window's own size

        const QSize small(958, 515);
        QTest::newRow("same screen") << "1024x768x1" << "1024x768x1" << small << small;
        QTest::newRow("same screen at scale 2") << "960x540x2" << "960x540x2" << QSize(900, 500) << QSize(900, 500);
        QTest::newRow("kept at scale 2, opened at scale 1") << "960x540x2" << "1024x768x1" << small << QSize();
        QTest::newRow("kept at scale 1, opened at scale 2") << "1024x768x1" << "1024x768x2" << small << QSize();
        QTest::newRow("kept on a larger screen") << "1920x1080x1" << "1024x768x1" << small << QSize();
        QTest::newRow("same screen, larger than its work area")
            << "1024x768x1" << "1024x768x1" << QSize(1200, 900) << QSize(1024 - 4, 740 - 4);
        QTest::newRow("same screen, at a fractional scale")
            << "1280x720x1.25" << "1280x720x1.25" << small << small;
        QTest::newRow("older version, fits") << "" << "1024x768x1" << small << small;
        QTest::newRow("older version, does not fit") << "" << "1024x768x1" << QSize(1200, 900) << QSize();
    }
    void aPlaceIsKeptForTheScreenItWasOn()
    {
        QFETCH(QString, storedOn);
        QFETCH(QString, screen);
        QFETCH(QSize, stored);
        QFETCH(QSize, applied);
        const auto shape = [](const QString& text) {
            const QStringList n = text.split(QLatin1Char('x'));
            return ScreenShape{QSize(n[0].toInt(), n[1].toInt()), n[2].toDouble()};
        };
        const QString window = QStringLiteral("Form4");
        const QString key = storedOn.isEmpty() ? window : WindowPlaceKey(window, shape(storedOn));
        const QString value = QStringLiteral("0,0,%1,%2,4,4,0").arg(stored.width()).arg(stored.height());
        const ScreenShape now = shape(screen);
        // The work area: the screen less a panel 28 high at its foot.
        const ScreenRoom room{now, QRect(QPoint(0, 0), now.size - QSize(0, 28))};

        const auto place = PlaceToRestore([&](const QString& k) { return k == key ? value : QString(); }, window,
                                          {room});

        QCOMPARE(place ? place->size : QSize(), applied);
        if (place)
            QVERIFY(room.available.contains(place->frame()));
    }

    // Losing the window's place is not worth a message; the window closes as always.
    void aFailedWriteOfThePlaceIsSilent()
    {
        test::FailingFileIo io;
        session_.files.setIo(&io);
        auto form = test::OpenSaveEditor(session_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        io.failAt(int(io.calls.size()));  // the first operation of the write
        form->move(51, 44);
        QVERIFY(form->close());
        QVERIFY(prompter_.shown.empty());
        QCOMPARE(storedPlace(QStringLiteral("Form4")), QString());
        QVERIFY(!io.calls.empty());
    }

    // A place that did not change is not written again (a settings file in a
    // folder the user cannot write stays untouched).
    void anUnchangedPlaceIsNotWrittenAgain()
    {
        {
            auto form = test::OpenSaveEditor(session_);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QVERIFY(form->close());
        }
        const QString first = storedPlace(QStringLiteral("Form4"));
        QVERIFY(!first.isEmpty());
        test::FailingFileIo io;
        session_.files.setIo(&io);
        auto form = test::OpenSaveEditor(session_);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const auto before = io.calls.size();
        QVERIFY(form->close());
        for (auto i = before; i < io.calls.size(); ++i)
            QVERIFY(io.calls[i].op == test::FailingFileIo::Op::Read);
        QCOMPARE(storedPlace(QStringLiteral("Form4")), first);
    }

    // The longest messages (a file's path in a refusal, say) fit the work area.
    void theLongestMessagesFit()
    {
        QString longest;
        for (int id = 0; id < 1000; ++id)
            if (HasResText(id) && GetResText(id).size() > longest.size())
                longest = GetResText(id);
        const QString path = QStringLiteral("/home/") + QString(200, QChar(0x570B)) + QStringLiteral("/Svd_00.sav");
        for (const QString& text : {longest, longest + QStringLiteral("\n\n") + path}) {
            QMessageBox box(QMessageBox::Critical, GetResText(Text::EditorTitle), text,
                            QMessageBox::Yes | QMessageBox::No);
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QVERIFY2(
                box.frameGeometry().width() <= kWorkArea.width() && box.frameGeometry().height() <= kWorkArea.height(),
                qPrintable(QStringLiteral("%1x%2").arg(box.frameGeometry().width()).arg(box.frameGeometry().height())));
        }
    }
};

// The test program's main screen is the work area of a small laptop.
int main(int argc, char** argv)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    const QString screen = QStringLiteral(R"({"name": "%1", "x": %2, "y": 0, "width": %3, "height": %4,
                                              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1})");
    file.write(QStringLiteral(R"({"screens": [%1, %2]})")
                   .arg(screen.arg(QStringLiteral("laptop")).arg(0).arg(kWorkArea.width()).arg(kWorkArea.height()),
                        screen.arg(QStringLiteral("wide"))
                            .arg(kWorkArea.width())
                            .arg(kWideWorkArea.width())
                            .arg(kWideWorkArea.height()))
                   .toUtf8());
    file.close();
    // The platform's options are separated by colons, as a Windows path's drive is:
    // the file is named from its own folder while the platform starts.
    const QString folder = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screens.json");
    QApplication app(argc, argv);
    QDir::setCurrent(folder);
    UseChineseFont();
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screen_fit_uitest.moc"
