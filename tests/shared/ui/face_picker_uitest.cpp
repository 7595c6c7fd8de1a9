#include "shared/name_field.h"
#include "shared/ui/face_picker.h"
#include "support/file_bytes.h"

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace varkel;

namespace {

// Faces that differ from each other: face n is filled with palette index n mod 256,
// with a diagonal of index n / 4 so that its rows differ too.
QByteArray distinctFaces()
{
    QByteArray faces(kFaceBankSize, '\0');
    for (int n = 0; n < kFaceCount; ++n) {
        char* face = faces.data() + qsizetype(n) * kFaceBytes;
        std::fill(face, face + kFaceBytes, static_cast<char>(n % 256));
        for (int r = 0; r < kFaceHeight && r < kFaceWidth; ++r)
            face[r * kFaceWidth + r] = static_cast<char>(n / 4);
    }
    return faces;
}

QImage faceImage(const PictureBanks& banks, int n)
{
    return QImage::fromData(FaceBitmapBytes(banks, n), "BMP").convertToFormat(QImage::Format_RGB32);
}

int redPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += (c.red() > 200 && c.green() < 90 && c.blue() < 90) ? 1 : 0;
        }
    return count;
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    Session session_;
    ScriptedPrompter prompter_;
    int programEnds_ = 0;

    template <typename T>
    T* control(FacePicker& form, const QString& name)
    {
        T* w = form.findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLabel* face(FacePicker& form, int k) { return control<QLabel>(form, QStringLiteral("Picture2(%1)").arg(k)); }
    QLabel* caption(FacePicker& form, int k) { return control<QLabel>(form, QStringLiteral("Label1(%1)").arg(k)); }
    QFrame* frame(FacePicker& form) { return control<QFrame>(form, QStringLiteral("Shape1")); }
    QPushButton* button(FacePicker& form, int n)
    {
        return control<QPushButton>(form, QStringLiteral("Command%1").arg(n));
    }

    // The faces the page shows, by their captions.
    QList<int> shownFaces(FacePicker& form)
    {
        QList<int> faces;
        for (int k = 0; k < FacePicker::kSlots; ++k)
            faces << caption(form, k)->text().toInt();
        return faces;
    }

    static QList<int> run(int first, int count)
    {
        QList<int> faces;
        for (int i = 0; i < count; ++i)
            faces << first + i;
        return faces;
    }

    // The slot the frame marks, or -1 when it is hidden.
    int framedSlot(FacePicker& form)
    {
        if (!frame(form)->isVisibleTo(&form))
            return -1;
        for (int k = 0; k < FacePicker::kSlots; ++k)
            if (frame(form)->geometry().contains(face(form, k)->geometry()))
                return k;
        return -2;
    }

    // The slot the focus mark surrounds, or -1 when it is hidden.
    int markedSlot(FacePicker& form)
    {
        auto* mark = control<QFrame>(form, QStringLiteral("FocusMark"));
        if (!mark->isVisibleTo(&form))
            return -1;
        for (int k = 0; k < FacePicker::kSlots; ++k)
            if (mark->geometry().contains(face(form, k)->geometry()) &&
                mark->geometry().contains(caption(form, k)->geometry()))
                return k;
        return -2;
    }

    // The picker on face `start`, shown and with the keyboard.
    std::unique_ptr<FacePicker> openWithKeyboard(int start)
    {
        auto form = std::make_unique<FacePicker>(session_, start);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("the face picker did not become active");
        return form;
    }

    static void press(FacePicker& form, const QString& keys)
    {
        for (const QString& key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QKeyCombination combination = QKeySequence(key)[0];
            QTest::keyClick(form.focusWidget() ? form.focusWidget() : &form, combination.key(),
                            combination.keyboardModifiers());
        }
    }

private slots:
    void initTestCase() { session_.banks.faces = distinctFaces(); }

    void init()
    {
        session_.prompter = &prompter_;
        session_.tempFolder = temp_.path() + QLatin1Char('/');
        session_.endProgram = [this] { ++programEnds_; };
        prompter_ = ScriptedPrompter();
        programEnds_ = 0;
    }

    void firstPageStartsAtTheCurrentFace()
    {
        FacePicker form(session_, 10);
        form.show();
        QCOMPARE(form.pageStart(), 10);
        QCOMPARE(form.selectedFace(), 10);
        QCOMPARE(shownFaces(form), run(10, 28));
        QCOMPARE(caption(form, 0)->text(), QStringLiteral("010"));
        QCOMPARE(framedSlot(form), 0);
        QVERIFY(button(form, 1)->isEnabled());
        QVERIFY(button(form, 2)->isEnabled());
        for (int k : {0, 13, 27})
            QCOMPARE(face(form, k)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                     faceImage(session_.banks, 10 + k));
        // The face file holds the last face drawn, as other windows load it by name.
        int last = 37;
        QCOMPARE(test::FileBytes(session_.faceBitmapPath()), FaceBitmapBytes(session_.banks, last));
        QVERIFY(prompter_.shown.empty());
    }

    void previousPageWrapsBelowZero()
    {
        FacePicker form(session_, 10);
        button(form, 1)->click();
        QCOMPARE(form.pageStart(), 828);
        QCOMPARE(shownFaces(form), run(828, 18) + run(0, 10));
        QCOMPARE(caption(form, 18)->text(), QStringLiteral("000"));
        QCOMPARE(face(form, 18)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 faceImage(session_.banks, 0));
        QCOMPARE(framedSlot(form), -1);  // face 10 would be slot 28
    }

    void nextPageWrapsAboveTheLastFace()
    {
        FacePicker form(session_, 830);
        QCOMPARE(shownFaces(form), run(830, 16) + run(0, 12));
        QCOMPARE(framedSlot(form), 0);
        button(form, 2)->click();
        QCOMPARE(form.pageStart(), 12);
        QCOMPARE(shownFaces(form), run(12, 28));
        QCOMPARE(framedSlot(form), -1);
        button(form, 1)->click();
        QCOMPARE(form.pageStart(), 830);
        QCOMPARE(framedSlot(form), 0);
    }

    void selectionSurvivesPaging()
    {
        FacePicker form(session_, 10);
        form.show();
        QTest::mouseClick(face(form, 5), Qt::LeftButton);
        QCOMPARE(form.selectedFace(), 15);
        QCOMPARE(framedSlot(form), 5);
        button(form, 2)->click();
        QCOMPARE(framedSlot(form), -1);
        button(form, 1)->click();
        QCOMPARE(form.pageStart(), 10);
        QCOMPARE(framedSlot(form), 5);
        QVERIFY(!form.picked());  // selecting is not choosing

        // A caption selects too, and a slot past the last face selects the wrapped face.
        button(form, 1)->click();
        QTest::mouseClick(caption(form, 20), Qt::LeftButton);
        QCOMPARE(form.selectedFace(), 2);
        QCOMPARE(framedSlot(form), 20);
    }

    void cancelKeepsTheCurrentFace()
    {
        FacePicker form(session_, 10);
        form.show();
        QTest::mouseClick(face(form, 3), Qt::LeftButton);
        button(form, 4)->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.isVisible());
        QVERIFY(!form.picked());
    }

    void closeGlyphTurnsRedAndCancels()
    {
        FacePicker form(session_, 10);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* close = control<QLabel>(form, QStringLiteral("Label3"));
        QCOMPARE(redPixels(close->grab().toImage()), 0);
        QEnterEvent enter(QPointF(5, 5), close->mapToGlobal(QPointF(5, 5)), close->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(close, &enter);
        QVERIFY(redPixels(close->grab().toImage()) > 10);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(close, &leave);
        QCOMPARE(redPixels(close->grab().toImage()), 0);

        QTest::mouseClick(face(form, 6), Qt::LeftButton);
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.picked());
    }

    void confirmStoresTheSelectedFace()
    {
        FacePicker form(session_, 10);
        form.show();
        button(form, 1)->click();
        QTest::mouseClick(face(form, 27), Qt::LeftButton);
        QVERIFY(!form.picked());
        button(form, 3)->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.picked(), std::optional<int>(9));
    }

    void doubleClickChoosesTheFace()
    {
        FacePicker form(session_, 100);
        form.show();
        QTest::mouseDClick(caption(form, 4), Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.picked(), std::optional<int>(104));

        FacePicker again(session_, 100);
        again.show();
        QTest::mouseDClick(face(again, 7), Qt::LeftButton);
        QCOMPARE(again.picked(), std::optional<int>(107));
    }

    void pageButtonsAreDisabledWhileAPageDraws()
    {
        FacePicker form(session_, 10);
        form.show();
        bool checked = false;
        QTimer::singleShot(0, &form, [&] {
            checked = true;
            QVERIFY(!button(form, 1)->isEnabled());
            QVERIFY(!button(form, 2)->isEnabled());
            // A second page change cannot start meanwhile.
            button(form, 2)->click();
        });
        button(form, 2)->click();
        QVERIFY(checked);
        QCOMPARE(form.pageStart(), 38);
        QVERIFY(button(form, 1)->isEnabled());
        QVERIFY(button(form, 2)->isEnabled());
    }

    void keysMoveTheMarkAndTheChoice_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("page");      // the first face of the page shown
        QTest::addColumn<int>("selected");  // the face chosen and framed
        QTest::addColumn<int>("slot");      // where the mark and the frame are

        QTest::newRow("nothing pressed") << 10 << "" << 10 << 10 << 0;
        QTest::newRow("right") << 10 << "Right Right" << 10 << 12 << 2;
        QTest::newRow("down a row") << 10 << "Down" << 10 << 17 << 7;
        QTest::newRow("back and forth") << 10 << "Down Right Up Left" << 10 << 10 << 0;
        QTest::newRow("left from the first face turns back a page") << 10 << "Left" << 828 << 9 << 27;
        QTest::newRow("up from the top row turns back a page") << 10 << "Up" << 828 << 3 << 21;
        QTest::newRow("down from the last row turns the page") << 10 << "Right Down Down Down Down" << 38 << 39 << 1;
        QTest::newRow("right from the last face turns the page") << 10
                                                                 << "Down Down Down Up Down Right Right Right "
                                                                    "Right Right Right Right"
                                                                 << 38 << 38 << 0;
        QTest::newRow("page down keeps the slot") << 10 << "Right PgDown" << 38 << 39 << 1;
        QTest::newRow("page up keeps the slot") << 10 << "Down PgUp" << 828 << 835 << 7;
        QTest::newRow("page down past the last face") << 830 << "PgDown" << 12 << 12 << 0;
        QTest::newRow("page up and down again") << 10 << "PgUp PgDown" << 10 << 10 << 0;
    }

    void keysMoveTheMarkAndTheChoice()
    {
        QFETCH(int, start);
        QFETCH(QString, keys);
        QFETCH(int, page);
        QFETCH(int, selected);
        QFETCH(int, slot);
        auto form = openWithKeyboard(start);
        press(*form, keys);
        QCOMPARE(form->pageStart(), page);
        QCOMPARE(form->selectedFace(), selected);
        QCOMPARE(caption(*form, slot)->text().toInt(), selected);
        QCOMPARE(framedSlot(*form), slot);
        QCOMPARE(markedSlot(*form), slot);
        QVERIFY(!form->picked());  // moving is not choosing
        QVERIFY(form->isVisible());
    }

    void theMarkShowsWhileTheFacesHaveTheFocus()
    {
        auto form = openWithKeyboard(10);
        QCOMPARE(form->focusWidget()->objectName(), QStringLiteral("Picture1"));
        QCOMPARE(markedSlot(*form), 0);
        // It is drawn: light dashes around the face and its number, outside the red frame.
        const QImage shown = form->grab().toImage();
        const QRect mark = control<QFrame>(*form, QStringLiteral("FocusMark"))
                               ->geometry()
                               .translated(control<QFrame>(*form, QStringLiteral("Picture1"))->pos());
        int light = 0;
        for (int x = mark.left(); x <= mark.right(); ++x) {
            const QColor c = shown.pixelColor(x, mark.top());
            light += c.red() > 200 && c.green() > 180 && c.blue() > 120 ? 1 : 0;
        }
        QVERIFY2(light > mark.width() / 4, qPrintable(QString::number(light)));

        // A page turned by the mouse keeps the mark on its slot; Enter picks what it marks.
        button(*form, 2)->click();
        QCOMPARE(framedSlot(*form), -1);
        QCOMPARE(markedSlot(*form), 0);
        QTest::mouseClick(face(*form, 5), Qt::LeftButton);
        QCOMPARE(markedSlot(*form), 5);

        form->focusWidget()->clearFocus();
        QCOMPARE(markedSlot(*form), -1);
        QCOMPARE(framedSlot(*form), 5);
    }

    void enterPicksTheMarkedFaceAndEscapeCancels_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("face");  // the face picked when accepted

        QTest::newRow("Enter") << "Right Down Return" << int(QDialog::Accepted) << 18;
        QTest::newRow("keypad Enter") << "Enter" << int(QDialog::Accepted) << 10;
        QTest::newRow("Enter on another page") << "PgDown Return" << int(QDialog::Accepted) << 38;
        QTest::newRow("Escape") << "Right Esc" << int(QDialog::Rejected) << 10;
    }

    void enterPicksTheMarkedFaceAndEscapeCancels()
    {
        QFETCH(QString, keys);
        QFETCH(int, result);
        QFETCH(int, face);
        auto form = openWithKeyboard(10);
        press(*form, keys);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), result);
        QCOMPARE(form->picked(), result == QDialog::Accepted ? std::optional<int>(face) : std::nullopt);
    }

    void enterAfterAMousePageTurnPicksTheMarkedFace()
    {
        auto form = openWithKeyboard(10);
        button(*form, 2)->click();
        press(*form, QStringLiteral("Return"));
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(form->picked(), std::optional<int>(38));
    }

    void pageKeysWaitWhileAPageDraws()
    {
        auto form = openWithKeyboard(10);
        bool checked = false;
        QTimer::singleShot(0, form.get(), [&] {
            checked = true;
            // Turning again while the page fills does nothing; moving on it does.
            press(*form, QStringLiteral("PgDown"));
            QCOMPARE(form->pageStart(), 38);
        });
        press(*form, QStringLiteral("PgDown"));
        QVERIFY(checked);
        QCOMPARE(form->pageStart(), 38);
        QCOMPARE(form->selectedFace(), 38);
        QVERIFY(button(*form, 2)->isEnabled());
    }

    // Without a private folder the faces still show; no bitmap is written anywhere.
    void facesShowWithOrWithoutAPrivateFolder_data()
    {
        QTest::addColumn<bool>("privateFolder");
        QTest::newRow("a private folder: the face file is written") << true;
        QTest::newRow("none: only shown") << false;
    }

    void facesShowWithOrWithoutAPrivateFolder()
    {
        QFETCH(bool, privateFolder);
        QTemporaryDir own;
        QTemporaryDir current;
        const QString before = QDir::currentPath();
        QDir::setCurrent(current.path());
        const QString folder = own.path() + QLatin1Char('/');
        session_.tempFolder = privateFolder ? folder : QString();
        {
            FacePicker form(session_, 10);
            form.show();
            for (int k : {0, 27})
                QCOMPARE(face(form, k)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                         faceImage(session_.banks, 10 + k));
        }
        QDir::setCurrent(before);
        QCOMPARE(programEnds_, 0);
        QVERIFY(prompter_.shown.empty());
        QCOMPARE(QFile::exists(folder + kFaceBitmapName), privateFolder);
        QCOMPARE(QDir(current.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void aFaceThatCannotBeWrittenEndsTheProgram()
    {
        session_.tempFolder = temp_.path() + QStringLiteral("/missing/");
        FacePicker form(session_, 10);
        QCOMPARE(programEnds_, 1);
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.startsWith(QStringLiteral("75-")));
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
    }
};

QTEST_MAIN(Form2Test)
#include "face_picker_uitest.moc"
