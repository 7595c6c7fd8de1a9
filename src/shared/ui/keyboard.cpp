#include "shared/ui/keyboard.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace varkel {

namespace {

bool IsEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Gives Enter to the box and stops it there: a line edit lets Enter go on to its
// window, where a dialog would press its default button as well. A search box
// also leaves Undo and Redo to its window.
class BoxKeys : public QObject {
public:
    BoxKeys(QLineEdit* box, bool search) : QObject(box), box_(box), search_(search) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_)
            return false;
        if (search_ && event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Not taken here: the window's Undo or Redo has the key.
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
                event->ignore();
                return true;
            }
        }
        if (event->type() != QEvent::KeyPress || !IsEnter(*static_cast<QKeyEvent*>(event)))
            return false;
        // The box's own handling (filters are not run again by a direct call); the
        // box leaves Enter unaccepted, which would send it on to its parents.
        static_cast<QObject*>(box_)->event(event);
        event->accept();
        return true;
    }

private:
    QLineEdit* box_;
    bool search_;
};

// Enter that the control with the focus left to its window (see UseApplyKeys).
class ApplyEnter : public QObject {
public:
    ApplyEnter(QWidget& window, std::function<QPushButton*()> shownApply)
        : QObject(&window), window_(window), shownApply_(std::move(shownApply))
    {
        window.installEventFilter(this);
    }

    void apply() const
    {
        if (QPushButton* button = shownApply_(); button && button->isVisible())
            button->click();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &window_ || event->type() != QEvent::KeyPress || !IsEnter(*static_cast<QKeyEvent*>(event)))
            return false;
        QWidget* focus = window_.focusWidget();
        // A list, a table or a multi-line box: its own meaning, and a dialog's.
        if (qobject_cast<QAbstractItemView*>(focus) || qobject_cast<QPlainTextEdit*>(focus) ||
            qobject_cast<QTextEdit*>(focus))
            return false;
        if (qobject_cast<QPushButton*>(focus) || qobject_cast<QToolButton*>(focus))
            static_cast<QAbstractButton*>(focus)->click();
        else
            apply();
        event->accept();
        return true;
    }

private:
    QWidget& window_;
    std::function<QPushButton*()> shownApply_;
};

// Ctrl+Q and Ctrl+W as they reach a control: no command of its window took them.
class ProgramKeys : public QObject {
public:
    ProgramKeys(QObject& owner, std::function<void()> quit) : QObject(&owner), quit_(std::move(quit))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Each key press comes to the window system's window first, then to the control.
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto is = [key](QKeySequence::StandardKey standard, Qt::Key documented) {
            return key->matches(standard) || key->keyCombination() == QKeyCombination(Qt::ControlModifier, documented);
        };
        if (is(QKeySequence::Quit, Qt::Key_Q))
            quit_();
        else if (is(QKeySequence::Close, Qt::Key_W))
            CloseWindow(*control->window());
        else
            return false;
        event->accept();
        return true;
    }

private:
    std::function<void()> quit_;
};

}  // namespace

void TabOrder::apply() const
{
    for (std::size_t i = 1; i < widgets_.size(); ++i)
        QWidget::setTabOrder(widgets_[i - 1], widgets_[i]);
}

QList<QKeySequence> StandardKeys(QKeySequence::StandardKey standard, const QKeySequence& wanted)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (!wanted.isEmpty() && !keys.contains(wanted))
        keys << wanted;
    return keys;
}

void UseStandardKeys(const FileMenuActions& commands)
{
    commands.open->setShortcuts(StandardKeys(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    commands.save->setShortcuts(StandardKeys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    commands.saveAs->setShortcuts(StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    commands.exit->setShortcuts(StandardKeys(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)));
    commands.about->setShortcuts(StandardKeys(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
}

void KeepEnter(QLineEdit* box)
{
    new BoxKeys(box, false);
}

void TakeSearchKeys(QLineEdit* box)
{
    new BoxKeys(box, true);
    auto* find = new QAction(box);
    find->setObjectName(QStringLiteral("FindShortcut"));
    find->setShortcuts(StandardKeys(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)));
    find->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(find, &QAction::triggered, box, [box] {
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    });
    box->addAction(find);
}

void UseApplyKeys(QWidget& window, std::function<QPushButton*()> shownApply)
{
    auto* enter = new ApplyEnter(window, std::move(shownApply));
    auto* key = new QAction(&window);
    key->setObjectName(QStringLiteral("ApplyShortcut"));
    key->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    key->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(key, &QAction::triggered, enter, &ApplyEnter::apply);
    window.addAction(key);
}

void UseApplyKeys(QWidget& window, QPushButton* apply)
{
    ShowApplyKeys(apply);
    UseApplyKeys(window, [apply] { return apply; });
}

void ShowApplyKeys(QPushButton* apply)
{
    apply->setToolTip(QStringLiteral("套用修改 (Enter / Ctrl+Enter)"));
}

void UseProgramKeys(QObject& owner, std::function<void()> quit)
{
    new ProgramKeys(owner, std::move(quit));
}

bool CloseWindow(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &escape);
        return !dialog->isVisible();
    }
    return window.close();
}

}  // namespace varkel
