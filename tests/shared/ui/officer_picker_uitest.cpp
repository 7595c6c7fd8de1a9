#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/officer_picker.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace varkel;

class Form5Test : public QObject {
    Q_OBJECT

private:
    static constexpr int kCount = 12;
    Session session_;
    ScriptedPrompter prompter_;

    static QListWidget* list(OfficerPicker& f) { return f.findChild<QListWidget*>(QStringLiteral("List1")); }
    static QLineEdit* searchBox(OfficerPicker& f) { return f.findChild<QLineEdit*>(QStringLiteral("Text1")); }
    static QPushButton* button(OfficerPicker& f, int n)
    {
        return f.findChild<QPushButton*>(QStringLiteral("Command%1").arg(n));
    }

private slots:
    void init()
    {
        session_ = Session();
        prompter_ = ScriptedPrompter();
        session_.prompter = &prompter_;
        session_.officerCount = kCount;
        const QStringList surnames = {QStringLiteral("張"), QStringLiteral("李"), QStringLiteral("王")};
        for (int i = 0; i < kCount; ++i)
            session_.officerNames[i] = surnames[i % 3] + QStringLiteral("某");
        session_.officerNames[kCount] = QStringLiteral("不顯示");
    }

    void listsEveryOfficerAndTheNoOfficerItem()
    {
        OfficerPicker form(session_, 0);
        QCOMPARE(form.windowTitle(), GetResText(Text::OfficerPickerTitle));
        QCOMPARE(list(form)->count(), kCount + 1);
        QCOMPARE(list(form)->item(4)->text(), QStringLiteral("004:李某"));
        QCOMPARE(list(form)->item(kCount)->text(), QStringLiteral("012:──"));
    }

    void preselectsThePickedOfficer_data()
    {
        QTest::addColumn<int>("picked");
        QTest::addColumn<int>("row");
        QTest::newRow("an officer") << 7 << 7;
        QTest::newRow("no officer") << 1720 << kCount;
        QTest::newRow("at the count") << kCount << kCount;
    }

    void preselectsThePickedOfficer()
    {
        QFETCH(int, picked);
        QFETCH(int, row);
        OfficerPicker form(session_, picked);
        QCOMPARE(list(form)->currentRow(), row);
    }

    void choosingAndCancelling()
    {
        {
            OfficerPicker form(session_, 3);
            QVERIFY(!form.picked());
            list(form)->setCurrentRow(kCount);
            QTest::mouseClick(button(form, 1), Qt::LeftButton);
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(form.picked(), std::optional<int>(kNoOfficer));
        }
        {
            OfficerPicker form(session_, kNoOfficer);
            QCOMPARE(list(form)->currentRow(), kCount);
            list(form)->setCurrentRow(5);
            QTest::mouseClick(button(form, 2), Qt::LeftButton);
            QCOMPARE(form.result(), int(QDialog::Rejected));
            QVERIFY(!form.picked());
        }
        {
            OfficerPicker form(session_, kNoOfficer);
            QListWidget* officers = list(form);
            officers->setCurrentRow(9);
            emit officers->itemDoubleClicked(officers->item(9));
            QCOMPARE(form.picked(), std::optional<int>(9));
        }
    }

    void searchesByNumberAndByName()
    {
        OfficerPicker form(session_, 0);
        QLineEdit* search = searchBox(form);
        QTest::keyClicks(search, QStringLiteral("5"));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(list(form)->currentRow(), 5);
        // The no-officer item counts as a list item.
        search->setText(QString::number(kCount));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(list(form)->currentRow(), kCount);
        search->setText(QString::number(kCount + 1));
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(prompter_.shown.size(), 1u);
        QCOMPARE(prompter_.shown[0].text, GetResText(Text::OfficerNotFound));

        search->clear();
        QInputMethodEvent typed;
        typed.setCommitString(QStringLiteral("王"));
        QApplication::sendEvent(search, &typed);
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(list(form)->currentRow(), 2);  // wraps from the no-officer item
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(list(form)->currentRow(), 5);
    }
};

QTEST_MAIN(Form5Test)
#include "officer_picker_uitest.moc"
