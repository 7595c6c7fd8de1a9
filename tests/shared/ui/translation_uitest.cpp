// Qt's own dialogs speak Traditional Chinese once the program's translation is in.
#include "shared/ui/standard_error.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

using namespace varkel;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void standardButtonsReadChinese()
    {
        QVERIFY(UseChineseTranslation());
        QVERIFY(UseChineseTranslation());  // a second call changes nothing
        QMessageBox box(QMessageBox::Question, QStringLiteral("Varkel"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
        const struct {
            QMessageBox::StandardButton button;
            QString text;
        } rows[] = {{QMessageBox::Yes, QStringLiteral("是")},
                    {QMessageBox::No, QStringLiteral("否")},
                    {QMessageBox::Cancel, QStringLiteral("取消")},
                    {QMessageBox::Ok, QStringLiteral("確定")}};
        for (const auto& row : rows)
            QVERIFY2(box.button(row.button)->text().contains(row.text), qPrintable(box.button(row.button)->text()));
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_uitest.moc"
