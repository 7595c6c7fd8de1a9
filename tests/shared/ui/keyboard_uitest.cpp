// The keyboard in every window: Tab visits the controls in reading order and never
// sticks, Enter presses the default button and Escape closes, and the standard
// shortcuts do what their menu items do.
#include "neweditor/ui/new_officer_editor.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/growth_forecast_dialog.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/officer_panel.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/face_picker.h"
#include "shared/ui/start_window.h"
#include "shared/ui/officer_picker.h"
#include "shared/ui/qt_seams.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <functional>
#include <map>
#include <memory>

using namespace varkel;
using varkel::test::FileBytes;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

// The element names of a control array from `first` to `last`, counting up or down.
QStringList run(const char* array, int first, int last)
{
    QStringList names;
    const int step = first <= last ? 1 : -1;
    for (int i = first; i != last + step; i += step)
        names << indexed(array, i);
    return names;
}

// The skill boxes of a view as they are laid out: in the order of the skill texts,
// each byte's bits from the highest.
QStringList skills(const char* array)
{
    return run(array, 7, 0) + run(array, 17, 10) + run(array, 27, 20) + run(array, 37, 36);
}

QStringList officerView()
{
    return run("Text1", 0, 4) + QStringList{"Command1", "Option1", "Option2", "Text5(0)", "Text5(1)"} +
           run("Check1", 0, 3) + run("Text2", 0, 3) + run("Text3", 0, 16) +
           QStringList{"Combo8", "Combo3", "Combo9", "Combo11", "Combo1"} + run("Combo6", 0, 14) + skills("Check2") +
           QStringList{"Check5", "Command11", "Command9", "Command10", "Command7(0)", "Command8(0)"};
}

QStringList treasureView()
{
    return {"List2",     "Text4(0)", "Combo2(1)", "Text4(1)",  "Combo2(2)",   "Text4(2)",
            "Combo2(0)", "Text4(3)", "Command2",  "Text7",     "Command4",    "Command3",
            "Command6",  "Command5", "Text6",     "Command13", "Command7(1)", "Command8(1)"};
}

QStringList relationView()
{
    return QStringList{"List3"} + run("Command12", 0, 2) + QStringList{"Combo4", "Command7(2)", "Command8(2)"};
}

QStringList familyView()
{
    return QStringList{"List4"} + run("Text8", 0, 4) + QStringList{"Command15", "Option4", "Option5"} +
           run("Check4", 0, 3) + QStringList{"Label32",  "Text9(0)", "Text9(4)", "Text9(1)", "Text9(5)",
                                             "Text9(2)", "Text9(6)", "Text9(3)", "Text9(7)"} +
           run("Text12", 0, 3) + run("Text10", 0, 7) + run("Combo7", 0, 4) + run("Combo5", 0, 14) +
           QStringList{"Text11"} + skills("Check3") + QStringList{"Command16", "Command7(3)", "Command8(3)"};
}

QStringList saveEditorMode(const QStringList& view)
{
    return run("Option3", 0, 3) + QStringList{"Combo10", "List1", "Text13"} + view;
}

QStringList newOfficerEditor()
{
    return QStringList{"List1", "Text5"} + run("Text1", 0, 4) + QStringList{"Command1", "Option1", "Option2"} +
           run("Check1", 0, 3) + run("Text2", 0, 3) + run("Text3", 0, 7) +
           QStringList{"Combo1", "Combo2", "Combo3", "Combo4", "Combo5"} + run("Text3", 8, 9) + run("Combo6", 0, 14) +
           QStringList{"Text4"} + skills("Check2") + QStringList{"Command4", "Command2", "Command3"};
}

// A control that Tab stops at, as Qt decides it.
bool takesTab(const QWidget* w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() && w->isEnabled() && w->isVisible();
}

// The name of the stop Tab makes at `w`. The radio buttons of an exclusive group
// are one stop, as on every desktop (the arrow keys move between them): the
// group's first button names it.
QString stopName(const QWidget* w)
{
    const auto* radio = qobject_cast<const QRadioButton*>(w);
    if (!radio)
        return w->objectName();
    if (const QButtonGroup* group = radio->group(); group && group->exclusive())
        return group->buttons().constFirst()->objectName();
    if (radio->autoExclusive())
        for (const QRadioButton* sibling :
             radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
            if (sibling->autoExclusive())
                return sibling->objectName();
    return w->objectName();
}

// The stops of `widgets` in their order, a group's buttons side by side as one.
QStringList stops(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (const QWidget* w : widgets)
        if (const QString name = stopName(w); names.isEmpty() || names.last() != name)
            names << name;
    return names;
}

// The stops of the window's focus chain, starting from the one named `first`
// when it is among them.
QStringList focusChain(QWidget& window, const QString& first)
{
    QList<QWidget*> widgets;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain())
        if (takesTab(w))
            widgets << w;
    QStringList names = stops(widgets);
    const qsizetype at = names.indexOf(first);
    if (at > 0)
        names = names.mid(at) + names.mid(0, at);
    if (names.size() > 1 && names.first() == names.last())
        names.removeLast();
    return names;
}

// The visible control named `name`, or nullptr.
QWidget* shownControl(QWidget& window, const QString& name)
{
    for (QWidget* w : window.findChildren<QWidget*>(name))
        if (w->isVisible())
            return w;
    return nullptr;
}

// A key or a key with modifiers as QKeySequence spells it ("Return", "Ctrl+S").
void press(QWidget& window, const QString& key)
{
    const QKeyCombination combination = QKeySequence(key)[0];
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
}

void pressAll(QWidget& window, const QString& keys)
{
    for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        press(window, key);
}

}  // namespace

class KeyboardTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    std::unique_ptr<SaveGameEditor> saveEditor_;  // the open save the side windows work on
    std::unique_ptr<SaveDocument> document_;
    SaveTables tables_;
    int applied_ = 0;
    int editorsOpened_ = 0;
    int programEnds_ = 0;
    int aboutShown_ = 0;

    // The window `name` opened as a user meets it; a mode of the saved-game editor
    // for "Form4".
    std::unique_ptr<QWidget> openWindow(const QString& name, int mode = 0)
    {
        std::unique_ptr<QWidget> window;
        if (name == QLatin1String("Form4")) {
            auto form = test::OpenSaveEditor(session_);
            form->setAboutView([this] { ++aboutShown_; });
            form->modes().Option3[std::size_t(mode)]->click();
            window = std::move(form);
        } else if (name == QLatin1String("Form1")) {
            std::unique_ptr<NewOfficerEditor> form(NewOfficerEditor::open(session_));
            if (!form)
                qFatal("Form1 did not open");
            form->setAboutView([this] { ++aboutShown_; });
            window = std::move(form);
        } else if (name == QLatin1String("Form3") || name == QLatin1String("About")) {
            auto form = std::make_unique<StartWindow>(session_);
            const StartWindow::EditorFactory opens = [this](Session&, const QString&) -> QWidget* {
                ++editorsOpened_;
                return nullptr;
            };
            form->setEditorFactories({opens, {}, {}}, {opens, {}, {}});
            connect(form.get(), &StartWindow::programEnded, this, [this] { ++programEnds_; });
            if (name == QLatin1String("About"))
                form->showAbout();
            window = std::move(form);
        } else if (name == QLatin1String("Form2")) {
            window = std::make_unique<FacePicker>(session_, 10);
        } else if (name == QLatin1String("Form5")) {
            session_.officerCount = tables_.officerCount;
            session_.officerNames = tables_.officerNames;
            window = std::make_unique<OfficerPicker>(session_, 5);
        } else if (name == QLatin1String("Form6")) {
            std::array<QString, 8> lines;
            lines.fill(QStringLiteral("A"));
            window = std::make_unique<GrowthForecastDialog>(session_, lines, tables_.officerNames.value(1), 1);
        } else if (name == QLatin1String("Form8")) {
            auto form = std::make_unique<IntimacyEditor>(session_, *document_, 0);
            connect(form.get(), &IntimacyEditor::applied, this, [this] { ++applied_; });
            form->List1->item(2)->setCheckState(Qt::Checked);
            window = std::move(form);
        } else if (name == QLatin1String("Form9")) {
            auto form = std::make_unique<ForceEditor>(prompter_, *document_, saveEditor_->scenario().courtRanks);
            connect(form.get(), &ForceEditor::applied, this, [this] { ++applied_; });
            window = std::move(form);
        } else if (name == QLatin1String("Form10")) {
            auto form = std::make_unique<CityEditor>(session_, *document_, saveEditor_->scenario().cityNames, nullptr);
            connect(form.get(), &CityEditor::applied, this, [this] { ++applied_; });
            window = std::move(form);
        } else {
            qFatal("no window %s", qPrintable(name));
        }
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("%s did not become active", qPrintable(name));
        return window;
    }

private slots:
    void init()
    {
        prepare();
        saveEditor_ = test::OpenSaveEditor(session_);
        document_ = test::SaveDocumentOf(saveEditor_->saveGame().bytes);
        tables_ = saveEditor_->tables();
        applied_ = editorsOpened_ = programEnds_ = aboutShown_ = 0;
    }

    void cleanup() { saveEditor_.reset(); }

    void tabFollowsReadingOrderAndComesRound_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("order");

        QTest::newRow("start window") << "Form3" << 0 << QStringList{"Command2", "Command3", "Command5"};
        // The About panel covers the buttons: nothing under it takes the keyboard.
        QTest::newRow("About view") << "About" << 0 << QStringList();
        QTest::newRow("saved-game editor, officers") << "Form4" << 0 << saveEditorMode(officerView());
        QTest::newRow("saved-game editor, treasures") << "Form4" << 1 << saveEditorMode(treasureView());
        QTest::newRow("saved-game editor, relationships") << "Form4" << 2 << saveEditorMode(relationView());
        QTest::newRow("saved-game editor, family") << "Form4" << 3 << saveEditorMode(familyView());
        QTest::newRow("new-officer editor") << "Form1" << 0 << newOfficerEditor();
        // The page buttons are for the mouse; the faces take the keys.
        QTest::newRow("face picker") << "Form2" << 0 << QStringList{"Picture1"};
        QTest::newRow("officer picker") << "Form5" << 0 << QStringList{"List1", "Text1", "Command1", "Command2"};
        QTest::newRow("forecast") << "Form6" << 0 << QStringList{"Command1"};
        QTest::newRow("intimacy") << "Form8" << 0 << QStringList{"Option1",  "Option2",  "List1", "Combo1",  "Command1",
                                                                 "Command3", "Command4", "Text1", "Command2"};
        QTest::newRow("forces") << "Form9" << 0
                                << QStringList{"List1", "Text1", "Combo1", "Combo2"} + run("Check1", 0, 8) +
                                       run("Check2", 0, 4) + QStringList{"Command1", "Command2"};
        QTest::newRow("cities") << "Form10" << 0
                                << QStringList{"List1",  "Combo1", "Combo2", "Combo3",
                                               "Check2", "Text1",  "Text2",  "Command1"} +
                                       run("Check1", 0, 5) + QStringList{"Command2", "Command3"};
    }

    void tabFollowsReadingOrderAndComesRound()
    {
        QFETCH(QString, window);
        QFETCH(int, mode);
        QFETCH(QStringList, order);
        auto form = openWindow(window, mode);

        // The order as the recording gives it, for the controls enabled and shown now
        // (an officer who cannot appear has no "武將登場", a spouse no growth values).
        QList<QWidget*> recorded;
        for (const QString& name : order) {
            if (form->findChildren<QWidget*>(name).isEmpty())
                QFAIL(qPrintable(QStringLiteral("no control %1").arg(name)));
            if (QWidget* w = shownControl(*form, name); w && w->isEnabled())
                recorded << w;
        }
        const QStringList expected = stops(recorded);
        // Every control that takes Tab is visited once, in that order.
        QCOMPARE(focusChain(*form, expected.value(0)), expected);
        if (expected.isEmpty())
            return;

        // Tab itself goes the same way, out of every box (the biographies too) and
        // round to the first again; Shift+Tab goes back.
        shownControl(*form, expected.first())->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            press(*form, QStringLiteral("Tab"));
            visited << (form->focusWidget() ? stopName(form->focusWidget()) : QString());
        }
        QCOMPARE(visited, expected.mid(1) + expected.mid(0, 1));
        press(*form, QStringLiteral("Shift+Tab"));
        QCOMPARE(stopName(form->focusWidget()), expected.last());
    }

    void enterAndEscape_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focus");  // the control that has the focus; empty: as the window opens
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("result");  // of the dialog; -1 while it stays open
        QTest::addColumn<int>("value");   // what the window's row checks (see below)

        const int open = -1;
        const int accepted = QDialog::Accepted;
        const int rejected = QDialog::Rejected;
        // The face picker opens on face 10; value: the face picked when accepted.
        QTest::newRow("face picker, Enter picks the marked face") << "Form2" << "" << "Right Return" << accepted << 11;
        QTest::newRow("face picker, keypad Enter") << "Form2" << "" << "Enter" << accepted << 10;
        QTest::newRow("face picker, Escape") << "Form2" << "" << "Right Esc" << rejected << 10;
        // The officer picker opens on officer 5; value: the officer picked when accepted.
        QTest::newRow("officer picker, Enter in the list") << "Form5" << "List1" << "Down Return" << accepted << 6;
        QTest::newRow("officer picker, Enter in the search box searches")
            << "Form5" << "Text1" << "1 2 Return" << open << 5;
        QTest::newRow("officer picker, Enter on 中止") << "Form5" << "Command2" << "Return" << rejected << 5;
        QTest::newRow("officer picker, Escape") << "Form5" << "List1" << "Down Esc" << rejected << 5;
        // value: nothing for the forecast.
        QTest::newRow("forecast, Enter") << "Form6" << "" << "Return" << accepted << 0;
        QTest::newRow("forecast, Escape") << "Form6" << "" << "Esc" << rejected << 0;
        // value: the Applies of the side window.
        QTest::newRow("intimacy, Enter applies") << "Form8" << "List1" << "Return" << open << 1;
        QTest::newRow("intimacy, Enter in the search box only searches") << "Form8" << "Text1" << "Return" << open << 0;
        QTest::newRow("intimacy, Escape") << "Form8" << "List1" << "Esc" << rejected << 0;
        QTest::newRow("forces, Enter applies") << "Form9" << "Combo2" << "Down Return" << open << 1;
        QTest::newRow("forces, Escape") << "Form9" << "List1" << "Esc" << rejected << 0;
        QTest::newRow("cities, Enter applies") << "Form10" << "Check1(0)" << "Space Return" << open << 1;
        QTest::newRow("cities, Escape") << "Form10" << "List1" << "Esc" << rejected << 0;
        // The start window, result -1 (it is no dialog); value: editors opened, or
        // the program's end for the exit button.
        QTest::newRow("start window, Enter on 存檔修改") << "Form3" << "Command3" << "Return" << open << 1;
        QTest::newRow("start window, Enter on 退出程序") << "Form3" << "Command5" << "Return" << open << -1;
        // value: 1 while the About view is still shown.
        QTest::newRow("About view, Escape") << "About" << "" << "Esc" << open << 0;
        QTest::newRow("About view, Enter") << "About" << "" << "Return" << open << 0;
        QTest::newRow("About view, the buttons' keys stay under it")
            << "About" << "" << "Alt+S Alt+N Space" << open << 1;
    }

    void enterAndEscape()
    {
        QFETCH(QString, window);
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(int, result);
        QFETCH(int, value);
        auto form = openWindow(window);
        if (!focus.isEmpty())
            shownControl(*form, focus)->setFocus(Qt::OtherFocusReason);
        pressAll(*form, keys);

        if (auto* d = qobject_cast<QDialog*>(form.get())) {
            QCOMPARE(d->isVisible(), result == -1);
            if (result != -1)
                QCOMPARE(d->result(), result);
        }
        // A picker gives what was chosen, and nothing while open or once cancelled.
        const auto picked = result == QDialog::Accepted ? std::optional<int>(value) : std::nullopt;
        if (window == QLatin1String("Form2")) {
            QCOMPARE(static_cast<FacePicker*>(form.get())->picked(), picked);
        } else if (window == QLatin1String("Form5")) {
            QCOMPARE(static_cast<OfficerPicker*>(form.get())->picked(), picked);
            if (focus == QLatin1String("Text1"))
                QCOMPARE(static_cast<OfficerPicker*>(form.get())->List1->currentRow(), 12);
        } else if (window == QLatin1String("Form8") || window == QLatin1String("Form9") ||
                   window == QLatin1String("Form10")) {
            QCOMPARE(applied_, value);
        } else if (window == QLatin1String("Form3")) {
            QCOMPARE(value < 0 ? programEnds_ : editorsOpened_, 1);
        } else if (window == QLatin1String("About")) {
            QCOMPARE(static_cast<StartWindow*>(form.get())->aboutMode(), value == 1);
            // Back at the start, the keyboard is on the first button.
            if (value == 0)
                QCOMPARE(form->focusWidget()->objectName(), QStringLiteral("Command2"));
            QCOMPARE(editorsOpened_, 0);
            QCOMPARE(programEnds_, 0);
        }
        // No question was needed on the way.
        QVERIFY(prompter_.shown.empty());
    }

    void escapeAsksAboutEditsNotYetApplied()
    {
        auto form = openWindow(QStringLiteral("Form9"));
        shownControl(*form, QStringLiteral("Combo2"))->setFocus();
        prompter_.answers = {Answer::Cancel};
        pressAll(*form, QStringLiteral("Down Esc"));
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(form->isVisible());
        prompter_.answers = {Answer::No};
        press(*form, QStringLiteral("Esc"));
        QVERIFY(!form->isVisible());
        QCOMPARE(applied_, 0);
    }

    void findGoesToTheSearchBoxOfEveryWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("saved-game editor") << "Form4" << "Text13" << "12";
        QTest::newRow("new-officer editor") << "Form1" << "Text5" << "700";
        QTest::newRow("officer picker") << "Form5" << "Text1" << "12";
        QTest::newRow("intimacy") << "Form8" << "Text1" << "孫";
    }

    void findGoesToTheSearchBoxOfEveryWindow()
    {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(QString, text);
        auto form = openWindow(window);
        auto* search = static_cast<QLineEdit*>(shownControl(*form, box));
        search->setText(text);
        shownControl(*form, QStringLiteral("List1"))->setFocus();
        press(*form, QStringLiteral("Ctrl+F"));
        QCOMPARE(form->focusWidget(), search);
        // Typing replaces what was searched for last.
        QCOMPARE(search->selectedText(), text);
        QVERIFY(form->isVisible());
    }

    void theForecastLinkTakesTheKeyboard()
    {
        auto form = test::OpenSaveEditor(session_);
        int forecasts = 0;
        form->setSideWindowRunner([&](QDialog& window) {
            QCOMPARE(window.objectName(), QStringLiteral("Form6"));
            ++forecasts;
        });
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->modes().Option3[3]->click();
        // A child whose forecast is offered.
        QListWidget* members = form->modes().familyPanel()->List4;
        QLabel* link = form->modes().familyPanel()->Label32;
        for (int row = 0; row < members->count() && !link->isVisible(); ++row)
            members->setCurrentRow(row);
        QVERIFY(link->isVisible());
        const QColor resting = link->palette().color(QPalette::WindowText);
        link->setFocus(Qt::TabFocusReason);
        // Lit while it has the focus, as under the mouse.
        QVERIFY(link->palette().color(QPalette::WindowText) != resting);
        for (const QString& key : {QStringLiteral("Return"), QStringLiteral("Enter"), QStringLiteral("Space")})
            press(*form, key);
        QCOMPARE(forecasts, 3);
        press(*form, QStringLiteral("Tab"));
        QCOMPARE(link->palette().color(QPalette::WindowText), resting);
    }

    void questionsTakeEnterAndEscape_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("answer");

        QTest::newRow("Ok, Enter") << int(MessageButtons::Ok) << "Return" << int(Answer::Ok);
        QTest::newRow("Ok, Escape") << int(MessageButtons::Ok) << "Esc" << int(Answer::Ok);
        QTest::newRow("Yes/No, Enter") << int(MessageButtons::YesNo) << "Return" << int(Answer::Yes);
        QTest::newRow("Yes/No, Escape") << int(MessageButtons::YesNo) << "Esc" << int(Answer::No);
        QTest::newRow("Yes/No with No the default, Enter")
            << int(MessageButtons::YesNoDefaultNo) << "Return" << int(Answer::No);
        QTest::newRow("Yes/No with No the default, Escape")
            << int(MessageButtons::YesNoDefaultNo) << "Esc" << int(Answer::No);
        QTest::newRow("Yes/No/Cancel, Enter") << int(MessageButtons::YesNoCancel) << "Return" << int(Answer::Yes);
        QTest::newRow("Yes/No/Cancel, Escape") << int(MessageButtons::YesNoCancel) << "Esc" << int(Answer::Cancel);
        QTest::newRow("Yes/No/Cancel with Cancel the default, Enter")
            << int(MessageButtons::YesNoCancelDefaultCancel) << "Return" << int(Answer::Cancel);
        QTest::newRow("Yes/No/Cancel with Cancel the default, Escape")
            << int(MessageButtons::YesNoCancelDefaultCancel) << "Esc" << int(Answer::Cancel);
    }

    void questionsTakeEnterAndEscape()
    {
        QFETCH(int, buttons);
        QFETCH(QString, key);
        QFETCH(int, answer);
        bool pressed = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(qobject_cast<QMessageBox*>(box));
            QVERIFY(QTest::qWaitForWindowActive(box));
            press(*box, key);
            pressed = true;
        });
        MessageBoxPrompter prompter;
        const Answer given =
            prompter.ask(GetResText(Text::SaveChanges), kEditorTitle, MessageButtons(buttons), MessageIcon::Question);
        QVERIFY(pressed);
        QCOMPARE(int(given), answer);
    }

    void shortcuts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("action");  // the menu item that shows the keys; empty for none
        QTest::addColumn<QString>("effect");

        for (const auto& [window, prefix] : {std::pair{"Form4", "t"}, std::pair{"Form1", "s"}}) {
            const QString saved = window == QLatin1String("Form4") ? "tSaveFile" : "sSavefile";
            const QString open = window == QLatin1String("Form4") ? "tOpenFile" : "sOpenfile";
            const QString row = QString::fromLatin1(window) + QStringLiteral(", ");
            QTest::newRow(qPrintable(row + "Ctrl+S")) << window << "Ctrl+S" << saved << "saves";
            QTest::newRow(qPrintable(row + "Ctrl+Shift+S"))
                << window << "Ctrl+Shift+S" << prefix + QStringLiteral("SaveAs") << "asks where to save";
            QTest::newRow(qPrintable(row + "Ctrl+O")) << window << "Ctrl+O" << open << "asks what to open";
            QTest::newRow(qPrintable(row + "Ctrl+W"))
                << window << "Ctrl+W" << prefix + QStringLiteral("Exit") << "closes";
            QTest::newRow(qPrintable(row + "F1"))
                << window << "F1" << prefix + QStringLiteral("About") << "shows About";
        }
        for (int mode = 0; mode < 4; ++mode)
            QTest::newRow(qPrintable(QStringLiteral("Form4, Alt+%1").arg(mode + 1)))
                << "Form4" << QStringLiteral("Alt+%1").arg(mode + 1) << "" << QStringLiteral("mode %1").arg(mode);
    }

    void shortcuts()
    {
        QFETCH(QString, window);
        QFETCH(QString, keys);
        QFETCH(QString, action);
        QFETCH(QString, effect);
        // Started in another mode, so that every mode key changes it.
        auto form = openWindow(window, window == QLatin1String("Form4") && keys == QLatin1String("Alt+1") ? 1 : 0);
        if (!action.isEmpty()) {
            auto* item = form->findChild<QAction*>(action);
            QVERIFY(item);
            QVERIFY(item->shortcuts().contains(QKeySequence(keys)));
        }
        const bool saveEditor = window == QLatin1String("Form4");
        const auto modified = [&] {
            return saveEditor ? static_cast<SaveGameEditor*>(form.get())->modified()
                              : static_cast<NewOfficerEditor*>(form.get())->modified();
        };
        // An applied edit, so that there is something to save.
        if (effect.contains(QLatin1String("save"))) {
            auto* ability = static_cast<QLineEdit*>(shownControl(*form, QStringLiteral("Text2(0)")));
            auto* apply = shownControl(*form, saveEditor ? QStringLiteral("Command7(0)") : QStringLiteral("Command2"));
            QVERIFY(ability && apply);
            ability->setText(ability->text() == QLatin1String("50") ? QStringLiteral("51") : QStringLiteral("50"));
            static_cast<QPushButton*>(apply)->click();
            QVERIFY(modified());
        }
        // The focus somewhere the keys mean nothing to.
        shownControl(*form, QStringLiteral("List1"))->setFocus();

        press(*form, keys);

        if (effect == QLatin1String("saves")) {
            QVERIFY(!modified());
            QVERIFY(form->findChild<QStatusBar*>()->currentMessage().startsWith(QStringLiteral("已保存")));
        } else if (effect == QLatin1String("asks where to save")) {
            QCOMPARE(dialogs_.requests.size(), 1u);
            QCOMPARE(dialogs_.requests[0].title, GetResText(Text::SaveAsTitle));
        } else if (effect == QLatin1String("asks what to open")) {
            QCOMPARE(dialogs_.requests.size(), 1u);
            QCOMPARE(dialogs_.requests[0].title, GetResText(Text::OpenFileTitle));
        } else if (effect == QLatin1String("closes")) {
            QVERIFY(!form->isVisible());
        } else if (effect == QLatin1String("shows About")) {
            QCOMPARE(aboutShown_, 1);
        } else {
            const int mode = effect.back().digitValue();
            QVERIFY(static_cast<SaveGameEditor*>(form.get())->modes().Option3[std::size_t(mode)]->isChecked());
            QVERIFY(shownControl(*form, indexed("Frame10", mode)));
        }
        QVERIFY(prompter_.shown.empty());
    }

    // The bytes of the document `window` edits.
    QByteArray documentBytes(QWidget& window) const
    {
        // The treasure attributes are the scenario file's.
        if (auto* form = qobject_cast<SaveGameEditor*>(&window))
            return form->saveGame().bytes + form->scenario().bytes;
        if (auto* form = qobject_cast<NewOfficerEditor*>(&window))
            return form->systemSave().bytes;
        return document_->save().bytes;
    }

    // A value the user changes: another number in a box, the next item of a list, a tick.
    static void changeValue(QWidget* control)
    {
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->setFocus();
            test::Retype(box, box->text() == QLatin1String("100") ? QStringLiteral("200") : QStringLiteral("100"));
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex((list->currentIndex() + 1) % list->count());
        } else if (auto* tick = qobject_cast<QCheckBox*>(control)) {
            tick->click();
        } else {
            qFatal("cannot change %s", qPrintable(control->objectName()));
        }
    }

    void applyKeys_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("changed");  // the control whose value changes
        QTest::addColumn<QString>("focus");    // where the key is pressed; empty: in that control
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("applies");

        QTest::newRow("officer view, Enter in a box") << "Form4" << 0 << "Text2(0)" << "" << "Return" << true;
        QTest::newRow("officer view, keypad Enter") << "Form4" << 0 << "Text2(0)" << "" << "Num+Enter" << true;
        QTest::newRow("officer view, Ctrl+Enter in the list")
            << "Form4" << 0 << "Text2(0)" << "List1" << "Ctrl+Return" << true;
        QTest::newRow("officer view, Enter in the list is the list's")
            << "Form4" << 0 << "Text2(0)" << "List1" << "Return" << false;
        QTest::newRow("officer view, Enter in the search box searches")
            << "Form4" << 0 << "Text2(0)" << "Text13" << "Return" << false;
        QTest::newRow("treasure view, Enter in a box") << "Form4" << 1 << "Text4(1)" << "" << "Return" << true;
        QTest::newRow("treasure view, Enter in the picture box shows the picture")
            << "Form4" << 1 << "Text4(1)" << "Text7" << "Return" << false;
        QTest::newRow("relationship view, Enter on a list") << "Form4" << 2 << "Combo4" << "" << "Return" << true;
        QTest::newRow("relationship view, keypad Ctrl+Enter")
            << "Form4" << 2 << "Combo4" << "List3" << "Ctrl+Num+Enter" << true;
        QTest::newRow("family view, Enter in a box") << "Form4" << 3 << "Text10(0)" << "" << "Return" << true;
        QTest::newRow("new-officer editor, Enter in a box") << "Form1" << 0 << "Text2(0)" << "" << "Return" << true;
        QTest::newRow("new-officer editor, Enter in the biography is a new line")
            << "Form1" << 0 << "Text2(0)" << "Text4" << "Return" << false;
        QTest::newRow("new-officer editor, Ctrl+Enter in the biography")
            << "Form1" << 0 << "Text2(0)" << "Text4" << "Ctrl+Return" << true;
        QTest::newRow("forces, Enter in a box") << "Form9" << 0 << "Text1" << "" << "Return" << true;
        QTest::newRow("forces, Ctrl+Enter in the list") << "Form9" << 0 << "Text1" << "List1" << "Ctrl+Return" << true;
        QTest::newRow("cities, Enter on a tick box") << "Form10" << 0 << "Check1(0)" << "" << "Return" << true;
        QTest::newRow("cities, Ctrl+Enter in the list")
            << "Form10" << 0 << "Check1(0)" << "List1" << "Ctrl+Return" << true;
        QTest::newRow("intimacy, Ctrl+Enter in the list")
            << "Form8" << 0 << "Combo1" << "List1" << "Ctrl+Return" << true;
    }

    void applyKeys()
    {
        QFETCH(QString, window);
        QFETCH(int, mode);
        QFETCH(QString, changed);
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(bool, applies);
        auto form = openWindow(window, mode);
        const QByteArray before = documentBytes(*form);
        QWidget* control = shownControl(*form, changed);
        QVERIFY(control);
        changeValue(control);
        (focus.isEmpty() ? control : shownControl(*form, focus))->setFocus(Qt::OtherFocusReason);

        press(*form, key);

        QCOMPARE(documentBytes(*form) != before, applies);
        QVERIFY(prompter_.shown.empty());
        // Apply names its keys.
        auto* apply = form->findChild<QAction*>(QStringLiteral("ApplyShortcut"));
        QVERIFY(apply && apply->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Return"))));
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("key");
        QTest::newRow("officer view, 戰技全滿") << "Form4" << 0 << "Command9" << "Return";
        QTest::newRow("officer view, Apply, keypad Enter") << "Form4" << 0 << "Command7(0)" << "Num+Enter";
        QTest::newRow("treasure view, a picture step") << "Form4" << 1 << "Command3" << "Return";
        QTest::newRow("relationship view, 改變") << "Form4" << 2 << "Command12(0)" << "Return";
        QTest::newRow("new-officer editor, 戰技全滿") << "Form1" << 0 << "Command4" << "Return";
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(int, mode);
        QFETCH(QString, button);
        QFETCH(QString, key);
        auto form = openWindow(window, mode);
        // Pickers the buttons open pick nothing here.
        if (auto* editor = qobject_cast<SaveGameEditor*>(form.get()))
            editor->setPicker({});
        auto* pressed = static_cast<QPushButton*>(shownControl(*form, button));
        QVERIFY(pressed && pressed->isEnabled());
        int clicks = 0;
        connect(pressed, &QPushButton::clicked, this, [&] { ++clicks; });
        pressed->setFocus(Qt::OtherFocusReason);
        press(*form, key);
        QCOMPARE(clicks, 1);
    }

    // The window `name` that shows the document of `form`, opened from its menu.
    QWidget* documentWindow(SaveGameEditor& form, const QString& name)
    {
        if (name == QLatin1String("records table"))
            form.menus().sTable->trigger();
        else if (name == QLatin1String("problems"))
            form.menus().sCheck->trigger();
        else if (name == QLatin1String("backups"))
            form.menus().tBackups->trigger();
        else if (!form.sideWindows().compareWith(SaveGame::slotPath(session_.gameFolder, 0)))
            return nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->parentWidget() == &form)
                return w;
        return nullptr;
    }

    // Presses `keys` in the window `name` that shows the document of `form`: a
    // window opened from its menu, or a side editor while it runs.
    void pressInDocumentWindow(SaveGameEditor& form, const QString& name, const QString& keys)
    {
        const auto pressIn = [&](QWidget& window) {
            window.show();
            window.activateWindow();
            // The window that has the keys (a dialog counts as active while its owner is).
            QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
            // Where the window puts the keyboard as it opens (the records table: its filter box).
            pressAll(window, keys);
        };
        const std::map<QString, std::function<void()>> sideEditors = {
            {QStringLiteral("city editor"), [&] { form.menus().sCity->trigger(); }},
            {QStringLiteral("force editor"), [&] { form.menus().sBingQi->trigger(); }},
            {QStringLiteral("intimacy editor"), [&] {
                 form.column().List1->setCurrentRow(form.tables().controlled[0]);
                 form.modes().officerPanel()->Command10->click();
             }}};
        if (const auto side = sideEditors.find(name); side != sideEditors.end()) {
            bool ran = false;
            form.setSideWindowRunner([&](QDialog& window) {
                QTimer::singleShot(0, &window, [&] {
                    ran = true;
                    pressIn(window);
                    window.QDialog::done(QDialog::Accepted);
                });
                window.exec();
            });
            side->second();
            QVERIFY(ran);
            return;
        }
        QWidget* other = documentWindow(form, name);
        QVERIFY(other);
        pressIn(*other);
    }

    void documentCommandsWorkInEveryWindowOfTheDocument_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("effect");
        for (const char* window : {"records table", "problems", "backups", "comparison", "city editor", "force editor",
                                   "intimacy editor"}) {
            const QString row = QString::fromLatin1(window) + QStringLiteral(", ");
            QTest::newRow(qPrintable(row + "Ctrl+Z")) << window << "Ctrl+Z" << "undone";
            QTest::newRow(qPrintable(row + "Ctrl+Z Ctrl+Shift+Z")) << window << "Ctrl+Z Ctrl+Shift+Z" << "redone";
            QTest::newRow(qPrintable(row + "Ctrl+S")) << window << "Ctrl+S" << "saved";
        }
    }

    void documentCommandsWorkInEveryWindowOfTheDocument()
    {
        QFETCH(QString, window);
        QFETCH(QString, keys);
        QFETCH(QString, effect);
        auto form = test::OpenSaveEditor(session_);
        form->show();
        const QByteArray before = form->saveGame().bytes;
        changeValue(form->modes().officerPanel()->Text2[0]);
        form->modes().Command7[0]->click();
        const QByteArray applied = form->saveGame().bytes;
        QVERIFY(applied != before);

        pressInDocumentWindow(*form, window, keys);

        if (effect == QLatin1String("undone")) {
            QCOMPARE(form->saveGame().bytes, before);
        } else if (effect == QLatin1String("redone")) {
            QCOMPARE(form->saveGame().bytes, applied);
        } else {
            QVERIFY(!form->modified());
            QCOMPARE(test::FileBytes(form->document().path()), applied);
            QVERIFY(form->findChild<QStatusBar*>(QStringLiteral("StatusLine"))
                        ->currentMessage()
                        .startsWith(QStringLiteral("已保存")));
        }
        QVERIFY(prompter_.shown.empty());
    }

    // A character code page 950 has no code for is named in a balloon under the
    // name box it was typed or pasted into, once however often it came; the box
    // keeps the characters it takes. Single-byte characters go quietly, as always.
    void aCharacterBig5CannotHoldIsNamedWhereItIsTyped_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("how");  // "typed" (the box keeps its text) or "pasted" over it
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");  // what a paste leaves
        QTest::addColumn<QString>("named");  // empty: no balloon

        QTest::newRow("officer view, typed") << "Form4" << "Text1(0)" << "typed" << "华" << "" << "「华」";
        QTest::newRow("officer view, pasted")
            << "Form4" << "Text1(3)" << "pasted" << "华丞们相华" << "丞相" << "「华」「们」";
        QTest::newRow("officer view, single-byte characters pasted")
            << "Form4" << "Text1(3)" << "pasted" << "ab丞 相" << "丞相" << "";
        QTest::newRow("new-officer editor, typed") << "Form1" << "Text1(1)" << "typed" << "华" << "" << "「华」";
        QTest::newRow("new-officer editor, pasted")
            << "Form1" << "Text1(3)" << "pasted" << "华丞们相华" << "丞相" << "「华」「们」";
        QTest::newRow("new-officer editor, biography pasted")
            << "Form1" << "Text4" << "pasted" << "华丞相" << "丞相" << "「华」";
        QTest::newRow("force editor, typed") << "Form9" << "Text1" << "typed" << "华" << "" << "「华」";
        QTest::newRow("force editor, pasted") << "Form9" << "Text1" << "pasted" << "华漢们" << "漢" << "「华」「们」";
    }

    void aCharacterBig5CannotHoldIsNamedWhereItIsTyped()
    {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QFETCH(QString, named);
        auto form = openWindow(window);
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        QWidget* control = shownControl(*form, box);
        QVERIFY(control);
        control->setFocus(Qt::OtherFocusReason);
        auto* line = qobject_cast<QLineEdit*>(control);
        auto* lines = qobject_cast<QPlainTextEdit*>(control);
        QVERIFY(line || lines);
        const auto shown = [&] { return line ? line->text() : lines->toPlainText(); };
        const QString before = shown();

        if (how == QLatin1String("typed")) {
            line->end(false);
            test::CommitText(control, text);
        } else {
            QApplication::clipboard()->setText(text);
            if (line) {
                line->selectAll();
                line->paste();
            } else {
                lines->selectAll();
                lines->paste();
            }
        }

        QCOMPARE(shown(), how == QLatin1String("typed") ? before : kept);
        if (named.isEmpty()) {
            QVERIFY(!QToolTip::isVisible());
        } else {
            QVERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text(), named + QStringLiteral("不在Big5字集中，遊戲無法儲存。"));
        }
        QVERIFY(prompter_.shown.empty());
    }

    // The start window opens the saved-game editor as the program's does.
    static void useSaveEditor(StartWindow& start)
    {
        const StartWindow::Editor saveEditor{[](Session& session, const QString& path) -> QWidget* {
                                           return SaveGameEditor::open(session, path);
                                       },
                                       {},
                                       {}};
        start.setEditorFactories({}, saveEditor);
    }

    // Presses `keys` in the window `where` of a program running the saved-game
    // editor; a modal side editor is pressed in while it runs.
    void pressInProgram(StartWindow& start, const QString& where, const QString& keys)
    {
        auto* editor = qobject_cast<SaveGameEditor*>(start.editor());
        const auto pressIn = [&](QWidget& window) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            pressAll(window, keys);
        };
        if (where == QLatin1String("start window")) {
            pressIn(start);
        } else if (where == QLatin1String("saved-game editor")) {
            pressIn(*editor);
        } else if (where == QLatin1String("city editor")) {
            QTimer::singleShot(0, this, [&] { pressIn(*QApplication::activeModalWidget()); });
            editor->menus().sCity->trigger();
        } else {
            QWidget* window = documentWindow(*editor, where);
            QVERIFY(window);
            pressIn(*window);
        }
    }

    void quitKeyEndsTheProgramFromEveryWindow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QList<Answer>>("answers");  // to "save the changes?"
        QTest::addColumn<bool>("ends");

        QTest::newRow("start window") << "start window" << false << QList<Answer>() << true;
        QTest::newRow("saved-game editor") << "saved-game editor" << false << QList<Answer>() << true;
        QTest::newRow("saved-game editor, unsaved, not saved")
            << "saved-game editor" << true << QList<Answer>{Answer::No} << true;
        QTest::newRow("saved-game editor, unsaved, cancelled")
            << "saved-game editor" << true << QList<Answer>{Answer::Cancel} << false;
        QTest::newRow("records table, unsaved, not saved")
            << "records table" << true << QList<Answer>{Answer::No} << true;
        QTest::newRow("problems") << "problems" << false << QList<Answer>() << true;
        QTest::newRow("city editor, a modal window") << "city editor" << false << QList<Answer>() << true;
    }

    void quitKeyEndsTheProgramFromEveryWindow()
    {
        QFETCH(QString, where);
        QFETCH(bool, unsaved);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, ends);
        StartWindow start(session_);
        useSaveEditor(start);
        int endings = 0;
        connect(&start, &StartWindow::programEnded, this, [&] { ++endings; });
        start.show();
        QPointer<QWidget> editor;
        if (where != QLatin1String("start window")) {
            start.openSaveGameEditor();
            editor = start.editor();
            QVERIFY(editor);
        }
        const QByteArray before = FileBytes(SaveGame::newestSlot(session_.gameFolder));
        if (unsaved) {
            auto* form = static_cast<SaveGameEditor*>(editor.data());
            changeValue(form->modes().officerPanel()->Text2[0]);
            form->modes().Command7[0]->click();
        }
        prompter_.answers.assign(answers.begin(), answers.end());

        pressInProgram(start, where, QStringLiteral("Ctrl+Q"));

        QTRY_COMPARE(endings, ends ? 1 : 0);
        QCOMPARE(prompter_.shown.size(), std::size_t(answers.size()));
        QCOMPARE(FileBytes(SaveGame::newestSlot(session_.gameFolder)), before);
        if (!ends)
            QVERIFY(editor && editor->isVisible());
        delete editor.data();
    }

    void closeKeyClosesTheWindowItIsPressedIn_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("saved-game editor") << "saved-game editor";
        QTest::newRow("records table") << "records table";
        QTest::newRow("problems") << "problems";
        QTest::newRow("backups") << "backups";
        QTest::newRow("comparison") << "comparison";
        QTest::newRow("city editor, a modal window") << "city editor";
    }

    void closeKeyClosesTheWindowItIsPressedIn()
    {
        QFETCH(QString, where);
        StartWindow start(session_);
        useSaveEditor(start);
        int endings = 0;
        connect(&start, &StartWindow::programEnded, this, [&] { ++endings; });
        start.show();
        start.openSaveGameEditor();
        QPointer<QWidget> editor = start.editor();
        QVERIFY(editor);
        // The window that has the keys when they are pressed (a modal one is deleted once closed).
        QPointer<QWidget> closed;
        bool other = false;
        QObject listening;
        connect(qApp, &QApplication::focusChanged, &listening, [&](QWidget*, QWidget* now) {
            if (now && now->window() != editor && now->window() != &start) {
                closed = now->window();
                other = true;
            }
        });

        pressInProgram(start, where, QStringLiteral("Ctrl+W"));

        const bool editorCloses = where == QLatin1String("saved-game editor");
        QTRY_COMPARE(bool(editor), !editorCloses);
        if (editorCloses)
            QVERIFY(start.isVisible());  // back at the start
        else
            QVERIFY(other && (!closed || !closed->isVisible()));
        QCOMPARE(endings, 0);
        delete editor.data();
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_uitest.moc"
