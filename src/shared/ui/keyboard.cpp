#include "shared/ui/keyboard.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

namespace varkel {

namespace {

// Gives Enter to the search box and stops it there: a line edit lets Enter go on
// to its window, where a dialog would press its default button as well.
class SearchBoxEnter : public QObject {
public:
    explicit SearchBoxEnter(QLineEdit* box) : QObject(box), box_(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_ || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        // The box's own handling (filters are not run again by a direct call); the
        // box leaves Enter unaccepted, which would send it on to its parents.
        static_cast<QObject*>(box_)->event(event);
        event->accept();
        return true;
    }

private:
    QLineEdit* box_;
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

void UseStandardKeys(const FileCommands& commands)
{
    commands.open->setShortcuts(StandardKeys(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
    commands.save->setShortcuts(StandardKeys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
    commands.saveAs->setShortcuts(StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    commands.exit->setShortcuts(StandardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)) +
                                StandardKeys(QKeySequence::Close, QKeySequence(Qt::CTRL | Qt::Key_W)));
    commands.about->setShortcuts(StandardKeys(QKeySequence::HelpContents, QKeySequence(Qt::Key_F1)));
}

void TakeSearchKeys(QLineEdit* box)
{
    new SearchBoxEnter(box);
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

}  // namespace varkel
