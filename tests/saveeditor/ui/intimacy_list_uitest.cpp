// The intimacy list as drawn: names and levels in two columns, so a four-character
// name never runs into its level, in the program's font and in a larger one.
#include "demo_folder/demo_folder.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "shared/ui/standard_error.h"
#include "support/file_bytes.h"
#include "support/save_editor.h"
#include "support/temp_game_folder.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace varkel;

namespace {

// Where a drawn row has ink: one flag per column of the row.
std::vector<bool> InkColumns(const QImage& image, const QRect& row)
{
    std::vector<bool> ink(size_t(row.width()), false);
    for (int x = 0; x < row.width(); ++x)
        for (int y = row.top(); y <= row.bottom() && !ink[size_t(x)]; ++y)
            ink[size_t(x)] = qGray(image.pixel(row.left() + x, y)) < 110;
    return ink;
}

struct Columns {
    int nameEnd = -1;     // the last inked column of the name
    int levelStart = -1;  // the first inked column of the level
};

// The name and the level of a drawn row, told apart by the widest blank run
// between the first and the last ink of its text.
Columns ColumnsOf(const std::vector<bool>& ink)
{
    const int first = int(std::find(ink.begin(), ink.end(), true) - ink.begin());
    Columns found;
    int widest = 0;
    int blankFrom = -1;
    for (int x = first; x < int(ink.size()); ++x) {
        if (!ink[size_t(x)]) {
            if (blankFrom < 0)
                blankFrom = x;
            continue;
        }
        if (blankFrom >= 0 && x - blankFrom > widest) {
            widest = x - blankFrom;
            found = {blankFrom - 1, x};
        }
        blankFrom = -1;
    }
    return found;
}

}  // namespace

class IntimacyListTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private slots:
    void init() { prepare(); }

    void fourCharacterNamesKeepAGapBeforeTheirLevel_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("the program's font") << 10;
        QTest::newRow("a larger font") << 16;
    }

    void fourCharacterNamesKeepAGapBeforeTheirLevel()
    {
        QFETCH(int, pointSize);
        UseChineseFont();
        const QFont before = QApplication::font();
        QFont font = before;
        font.setPointSize(pointSize);
        QApplication::setFont(font);

        const auto document = test::SaveDocumentOf(test::FileBytes(SaveGame::slotPath(session_.gameFolder,
                                                                                      demo::kDemoFullPersonMapSlot)));
        IntimacyEditor form(session_, *document, 0);
        form.resize(form.sizeHint().width(), 900);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QListWidget& list = *form.List1;
        // No row drawn as selected: ink is the text on the plain background.
        list.setCurrentRow(-1);
        list.clearSelection();
        const QImage image = list.viewport()->grab().toImage();
        const int em = QFontMetrics(list.font()).horizontalAdvance(QChar(0x570B));

        int fourCharacterRows = 0;
        int levelStart = -1;
        for (int k = 0; k < list.count(); ++k) {
            const QRect row = list.visualItemRect(list.item(k));
            if (!image.rect().contains(row))
                break;
            const QString name = list.item(k)->text().section(QChar(0x3000), 0, 0).section(QLatin1Char(' '), 0, 0);
            if (name.isEmpty())
                continue;
            const Columns columns = ColumnsOf(InkColumns(image, row));
            QVERIFY2(columns.levelStart > 0, qPrintable(list.item(k)->text()));
            // Every level starts in the same column (give or take its first glyph's bearing).
            if (levelStart < 0)
                levelStart = columns.levelStart;
            QVERIFY2(qAbs(columns.levelStart - levelStart) <= em / 4, qPrintable(list.item(k)->text()));
            if (name.size() == 4) {
                ++fourCharacterRows;
                QVERIFY2(columns.levelStart - columns.nameEnd > em / 2, qPrintable(list.item(k)->text()));
            }
            // The level is shown whole, inside the row.
            QVERIFY(row.width() - columns.levelStart >=
                    QFontMetrics(list.font()).horizontalAdvance(list.item(k)->text().section(QLatin1Char(' '), -1)));
        }
        QVERIFY(fourCharacterRows > 0);
        QApplication::setFont(before);
    }
};

QTEST_MAIN(IntimacyListTest)
#include "intimacy_list_uitest.moc"
