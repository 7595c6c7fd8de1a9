#include "shared/name_field.h"
#include "sideeditors/ui/form2.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    T* control(Form2& form, const QString& name)
    {
        T* w = form.findChild<T*>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLabel* face(Form2& form, int k) { return control<QLabel>(form, QStringLiteral("Picture2(%1)").arg(k)); }
    QLabel* caption(Form2& form, int k) { return control<QLabel>(form, QStringLiteral("Label1(%1)").arg(k)); }
    QFrame* frame(Form2& form) { return control<QFrame>(form, QStringLiteral("Shape1")); }
    QPushButton* button(Form2& form, int n) { return control<QPushButton>(form, QStringLiteral("Command%1").arg(n)); }

    // The faces the page shows, by their captions.
    QList<int> shownFaces(Form2& form)
    {
        QList<int> faces;
        for (int k = 0; k < Form2::kSlots; ++k)
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
    int framedSlot(Form2& form)
    {
        if (!frame(form)->isVisibleTo(&form))
            return -1;
        for (int k = 0; k < Form2::kSlots; ++k)
            if (frame(form)->geometry().contains(face(form, k)->geometry()))
                return k;
        return -2;
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
        session_.currentFace = 10;
        session_.selectedFace = 0;
        Form2 form(session_);
        form.show();
        QCOMPARE(form.pageStart(), 10);
        QCOMPARE(session_.selectedFace, 10);
        QCOMPARE(shownFaces(form), run(10, 28));
        QCOMPARE(caption(form, 0)->text(), QStringLiteral("010"));
        QCOMPARE(framedSlot(form), 0);
        QVERIFY(button(form, 1)->isEnabled());
        QVERIFY(button(form, 2)->isEnabled());
        for (int k : {0, 13, 27})
            QCOMPARE(face(form, k)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                     faceImage(session_.banks, 10 + k));
        // The face file holds the last face drawn, as other windows load it by name.
        QFile file(session_.faceBitmapPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        int last = 37;
        QCOMPARE(file.readAll(), FaceBitmapBytes(session_.banks, last));
        QVERIFY(prompter_.shown.empty());
    }

    void previousPageWrapsBelowZero()
    {
        session_.currentFace = 10;
        Form2 form(session_);
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
        session_.currentFace = 830;
        Form2 form(session_);
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
        session_.currentFace = 10;
        Form2 form(session_);
        form.show();
        QTest::mouseClick(face(form, 5), Qt::LeftButton);
        QCOMPARE(session_.selectedFace, 15);
        QCOMPARE(framedSlot(form), 5);
        button(form, 2)->click();
        QCOMPARE(framedSlot(form), -1);
        button(form, 1)->click();
        QCOMPARE(form.pageStart(), 10);
        QCOMPARE(framedSlot(form), 5);
        QCOMPARE(session_.currentFace, 10);  // selecting is not choosing

        // A caption selects too, and a slot past the last face selects the wrapped face.
        button(form, 1)->click();
        QTest::mouseClick(caption(form, 20), Qt::LeftButton);
        QCOMPARE(session_.selectedFace, 2);
        QCOMPARE(framedSlot(form), 20);
    }

    void cancelKeepsTheCurrentFace()
    {
        session_.currentFace = 10;
        Form2 form(session_);
        form.show();
        QTest::mouseClick(face(form, 3), Qt::LeftButton);
        button(form, 4)->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.isVisible());
        QCOMPARE(session_.currentFace, 10);
    }

    void closeGlyphTurnsRedAndCancels()
    {
        session_.currentFace = 10;
        Form2 form(session_);
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
        QCOMPARE(session_.currentFace, 10);
    }

    void confirmStoresTheSelectedFace()
    {
        session_.currentFace = 10;
        Form2 form(session_);
        form.show();
        button(form, 1)->click();
        QTest::mouseClick(face(form, 27), Qt::LeftButton);
        QCOMPARE(session_.currentFace, 10);
        button(form, 3)->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(session_.currentFace, 9);
    }

    void doubleClickChoosesTheFace()
    {
        session_.currentFace = 100;
        Form2 form(session_);
        form.show();
        QTest::mouseDClick(caption(form, 4), Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QCOMPARE(session_.currentFace, 104);

        session_.currentFace = 100;
        Form2 again(session_);
        again.show();
        QTest::mouseDClick(face(again, 7), Qt::LeftButton);
        QCOMPARE(session_.currentFace, 107);
    }

    void pageButtonsAreDisabledWhileAPageDraws()
    {
        session_.currentFace = 10;
        Form2 form(session_);
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

    void aFaceThatCannotBeWrittenEndsTheProgram()
    {
        session_.tempFolder = temp_.path() + QStringLiteral("/missing/");
        session_.currentFace = 10;
        Form2 form(session_);
        QCOMPARE(programEnds_, 1);
        QCOMPARE(prompter_.shown.size(), 1u);
        QVERIFY(prompter_.shown[0].text.startsWith(QStringLiteral("75-")));
        QCOMPARE(prompter_.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(prompter_.shown[0].icon, MessageIcon::Critical);
    }
};

QTEST_MAIN(Form2Test)
#include "form2_uitest.moc"
