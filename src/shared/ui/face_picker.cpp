#include "shared/ui/face_picker.h"

#include "shared/name_field.h"
#include "shared/picture_banks.h"
#include "shared/ui/control_names.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/window_geometry.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

namespace varkel {

namespace {

constexpr int kColumns = 7;
constexpr int kCellWidth = 76;
constexpr int kCellHeight = 106;
constexpr int kGridLeft = 16;
constexpr int kGridTop = 48;
constexpr int kGridWidth = kColumns * kCellWidth;
constexpr int kGridHeight = (FacePicker::kSlots / kColumns) * kCellHeight + 6;
constexpr int kWidth = kGridWidth + 2 * kGridLeft;
constexpr int kHeight = kGridTop + kGridHeight + 64;

const QString kFailureTitle = QStringLiteral("Error");

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = named(new QPushButton(text, parent), name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

FacePicker::FacePicker(Session& session, int face, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), session_(session)
{
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(kWidth, kHeight);
    buildControls();

    pageStart_ = face;
    selectedFace_ = face;
    MoveFace(pageStart_);
}

std::optional<int> FacePicker::getFace(Session& session, int face, QWidget* parent)
{
    FacePicker picker(session, face, parent);
    KeepWindowGeometry(picker, session);
    picker.exec();
    return picker.picked();
}

void FacePicker::buildControls()
{
    setStyleSheet(QStringLiteral("QDialog#Form2 { background: #3a1a0c; border: 1px solid #c89a48; }"));
    buildHeading();
    buildFaces();
    buildButtons();
}

void FacePicker::buildHeading()
{
    Label2 = new QLabel(QStringLiteral("請選擇你喜歡的武將頭像"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(kGridLeft, 8, kGridWidth - 40, 32);
    Label2->setStyleSheet(QStringLiteral("color: #f4e2b0; font-size: 15pt;"));
    Label2->setAttribute(Qt::WA_TransparentForMouseEvents);  // the window is dragged by it

    Label3 = new QLabel(QStringLiteral("✕"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(kWidth - 40, 8, 28, 28);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);
    setCloseGlyphHot(false);
}

void FacePicker::buildFaces()
{
    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(kGridLeft, kGridTop, kGridWidth, kGridHeight);
    Picture1->setStyleSheet(QStringLiteral("QFrame#Picture1 { background: #1c0c06; border: 1px solid #6a4020; }"
                                           "QLabel { color: #f4e2b0; }"));
    // The faces take the keyboard; the buttons are for the mouse.
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->installEventFilter(this);

    buildSlots();

    // The frame lies over the face; clicks go through it to the face.
    Shape1 = new QFrame(Picture1);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { border: 3px solid #ff3020; background: transparent; }"));
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->hide();
    FocusMark = new QFrame(Picture1);
    FocusMark->setObjectName(QStringLiteral("FocusMark"));
    FocusMark->setStyleSheet(
        QStringLiteral("QFrame#FocusMark { border: 2px dashed #f4e2b0; background: transparent; }"));
    FocusMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    FocusMark->hide();
}

void FacePicker::buildSlots()
{
    for (int k = 0; k < kSlots; ++k) {
        const int x = (k % kColumns) * kCellWidth + (kCellWidth - kFaceWidth) / 2;
        const int y = (k / kColumns) * kCellHeight + 8;
        Picture2[k] = new QLabel(Picture1);
        Picture2[k]->setObjectName(indexed("Picture2", k));
        Picture2[k]->setGeometry(x, y, kFaceWidth, kFaceHeight);
        Label1[k] = new QLabel(Picture1);
        Label1[k]->setObjectName(indexed("Label1", k));
        Label1[k]->setGeometry(x - 4, y + kFaceHeight + 1, kFaceWidth + 8, 16);
        Label1[k]->setAlignment(Qt::AlignCenter);
        for (QLabel* w : {Picture2[k], Label1[k]}) {
            w->setCursor(Qt::PointingHandCursor);
            w->installEventFilter(this);
        }
    }
}

void FacePicker::buildButtons()
{
    const int buttonsTop = kGridTop + kGridHeight + 16;
    Command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("◀"));
    Command2 = makeButton(this, QStringLiteral("Command2"), QStringLiteral("▶"));
    Command3 = makeButton(this, QStringLiteral("Command3"), QStringLiteral("執行"));
    Command4 = makeButton(this, QStringLiteral("Command4"), QStringLiteral("中止"));
    Command1->setToolTip(QStringLiteral("上一頁"));
    Command2->setToolTip(QStringLiteral("下一頁"));
    Command1->setGeometry(kGridLeft, buttonsTop, 56, 32);
    Command2->setGeometry(kGridLeft + 64, buttonsTop, 56, 32);
    Command3->setGeometry(kWidth - kGridLeft - 2 * 96 - 8, buttonsTop, 96, 32);
    Command3->setDefault(true);
    Command4->setGeometry(kWidth - kGridLeft - 96, buttonsTop, 96, 32);
    connect(Command1, &QPushButton::clicked, this, &FacePicker::previousPage);
    connect(Command2, &QPushButton::clicked, this, &FacePicker::nextPage);
    connect(Command3, &QPushButton::clicked, this, &FacePicker::pickSelected);
    connect(Command4, &QPushButton::clicked, this, &FacePicker::cancel);
}

void FacePicker::MoveFace(int& start)
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    start = WrapFaceNumber(start);
    Shape1->hide();
    const QPointer<FacePicker> alive(this);
    for (int k = 0; k < kSlots; ++k) {
        int face = start + k;
        Label1[k]->setText(FormatNumber(WrapFaceNumber(face), 3));
        if (!ShowFace(session_, Picture2[k], face, kFailureTitle))
            return;
        if (face == selectedFace_)
            frameSlot(k);
        // The page fills slot by slot; the page buttons stay disabled meanwhile.
        QApplication::processEvents();
        if (!alive)
            return;
    }
    Command1->setEnabled(true);
    Command2->setEnabled(true);
}

void FacePicker::frameSlot(int k)
{
    Shape1->setGeometry(Picture2[k]->geometry().adjusted(-4, -4, 4, 4));
    Shape1->show();
    Shape1->raise();
    markedSlot_ = k;
    placeFocusMark();
}

void FacePicker::placeFocusMark()
{
    // Around the face and its number, just outside the frame of the chosen face.
    const QRect cell = Picture2[markedSlot_]->geometry().united(Label1[markedSlot_]->geometry());
    FocusMark->setGeometry(cell.adjusted(-2, -6, 2, 2));
    FocusMark->setVisible(Picture1->hasFocus());
    FocusMark->raise();
}

void FacePicker::moveMark(int by)
{
    int slot = markedSlot_ + by;
    const int pages = slot < 0 ? -1 : slot >= kSlots ? 1 : 0;
    if (pages == 0) {
        selectSlot(slot);
        return;
    }
    // Another page, once this one is drawn (its page buttons are enabled again).
    if (!Command1->isEnabled())
        return;
    slot -= pages * kSlots;
    pageStart_ += pages * kSlots;
    markedSlot_ = slot;
    placeFocusMark();
    // Chosen first, so that the new page frames it as it is drawn.
    selectedFace_ = WrapFaceNumber(pageStart_ + slot);
    MoveFace(pageStart_);
}

void FacePicker::previousPage()
{
    pageStart_ -= kSlots;
    MoveFace(pageStart_);
}

void FacePicker::nextPage()
{
    pageStart_ += kSlots;
    MoveFace(pageStart_);
}

void FacePicker::pickSelected()
{
    picked_ = selectedFace_;
    accept();
}

void FacePicker::cancel()
{
    reject();
}

void FacePicker::selectSlot(int k)
{
    selectedFace_ = WrapFaceNumber(pageStart_ + k);
    frameSlot(k);
}

void FacePicker::pickSlot(int k)
{
    selectSlot(k);
    pickSelected();
}

int FacePicker::slotOf(QObject* watched) const
{
    for (int k = 0; k < kSlots; ++k)
        if (watched == Picture2[k] || watched == Label1[k])
            return k;
    return -1;
}

void FacePicker::setCloseGlyphHot(bool hot)
{
    Label3->setStyleSheet(hot ? QStringLiteral("color: #ff2020; font-size: 16pt;")
                              : QStringLiteral("color: #ffffff; font-size: 16pt;"));
}

bool FacePicker::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Picture1 && (type == QEvent::FocusIn || type == QEvent::FocusOut))
        placeFocusMark();
    if (watched == Label3) {
        if (type == QEvent::Enter || type == QEvent::Leave)
            setCloseGlyphHot(type == QEvent::Enter);
        else if (type == QEvent::MouseButtonRelease &&
                 Label3->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            cancel();
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QDialog::eventFilter(watched, event);
    const int k = slotOf(watched);
    if (k < 0 || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QDialog::eventFilter(watched, event);
    if (type == QEvent::MouseButtonPress)
        selectSlot(k);
    else
        pickSlot(k);
    return true;
}

void FacePicker::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        moveMark(-1);
        break;
    case Qt::Key_Right:
        moveMark(1);
        break;
    case Qt::Key_Up:
        moveMark(-kColumns);
        break;
    case Qt::Key_Down:
        moveMark(kColumns);
        break;
    case Qt::Key_PageUp:
        moveMark(-kSlots);
        break;
    case Qt::Key_PageDown:
        moveMark(kSlots);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickSlot(markedSlot_);
        break;
    default:
        // Escape cancels, as in every dialog.
        QDialog::keyPressEvent(event);
        break;
    }
}

void FacePicker::mousePressEvent(QMouseEvent* event)
{
    drag_.press(event);
}

void FacePicker::mouseMoveEvent(QMouseEvent* event)
{
    drag_.move(this, event);
}

}  // namespace varkel
