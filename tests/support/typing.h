#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

namespace varkel::test {

// Typing Chinese: the commit string of an input method (QTest::keyClicks takes
// ASCII only).
inline void CommitText(QWidget* box, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

// Replaces the text of a box as a user does: select all, delete, type.
inline void Retype(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

}  // namespace varkel::test
