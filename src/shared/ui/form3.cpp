#include "shared/ui/form3.h"

#include "shared/file_store.h"
#include "shared/game_folder.h"
#include "shared/name_field.h"
#include "shared/temp_folder.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/standard_error.h"
#include "version.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;
constexpr qint64 kBackgroundFileSize = 215'040;

const QString kAuthor = QStringLiteral("Varkel編輯器開發組");

// Any picture format the platform reads will do; the game's is a bitmap, so that
// is tried first, without asking every image plugin.
QImage BackgroundPicture(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage image = ReadImage(buffer, "bmp");
    return image.isNull() ? QImage::fromData(bytes) : image;
}
const QString kAuthorMail = QStringLiteral("editor@varkel.invalid");

}  // namespace

Form3::Form3(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), session_(session)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(GetResText(351));
    setFixedSize(kWidth, kHeight);

    const QString selgame = GameFilePath(session_.gameFolder, QStringLiteral("Selgame.vk"));
    // One byte more than the picture tells a file of another size.
    const auto picture = FileStore::readFile(selgame, kBackgroundFileSize + 1);
    if (picture && picture->size() == kBackgroundFileSize)
        background_ = BackgroundPicture(*picture);
    buildControls();
}

void Form3::buildControls()
{
    Label7 = named(new QLabel(GetResText(351), this), QStringLiteral("Label7"));
    Label3 = named(new QLabel(GetResText(344), this), QStringLiteral("Label3"));
    QFont titleFont = font();
    titleFont.setPointSize(22);
    titleFont.setBold(true);
    Label7->setFont(titleFont);
    QFont subtitleFont = font();
    subtitleFont.setPointSize(13);
    Label3->setFont(subtitleFont);
    for (QLabel* label : {Label7, Label3}) {
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: #f4e2b0; background: rgba(40, 16, 8, 150); padding: 2px 10px;"));
    }

    // The drawn title, used when the background picture is missing.
    Label2 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label2"));
    Label4 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label4"));
    Label5 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label5"));
    QFont drawn(QStringLiteral("serif"), 40, QFont::Black);
    drawn.setItalic(true);
    for (QLabel* label : {Label5, Label4, Label2}) {
        label->setFont(drawn);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(0, 96, kWidth, 70);
    }
    Label5->move(Label5->x() + 3, Label5->y() + 3);
    Label5->setStyleSheet(QStringLiteral("color: #1a0a04;"));
    Label4->move(Label4->x() + 1, Label4->y() + 1);
    Label4->setStyleSheet(QStringLiteral("color: #8c2a14;"));
    Label2->setStyleSheet(QStringLiteral("color: #f0c060;"));
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(90, 170, kWidth - 180, 2);
    Line1->setStyleSheet(QStringLiteral("background: #f0c060;"));
    const bool drawnTitle = background_.isNull();
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Label4, Label5, Line1})
        w->setVisible(drawnTitle);

    Label7->setGeometry(0, 24, kWidth, 48);
    Label3->setGeometry((kWidth - 220) / 2, 186, 220, 30);

    Command2 = named(new QPushButton(QStringLiteral("新的武將(&N)"), this), QStringLiteral("Command2"));
    Command3 = named(new QPushButton(QStringLiteral("存檔修改(&S)"), this), QStringLiteral("Command3"));
    Command5 = named(new QPushButton(QStringLiteral("退出程序(&X)"), this), QStringLiteral("Command5"));
    int y = 232;
    for (QPushButton* button : {Command2, Command3, Command5}) {
        button->setGeometry((kWidth - 160) / 2, y, 160, 32);
        y += 38;
    }
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form3::Command5_Click);

    // The About panel covers the window, buttons included; its clicks reach the
    // window, which hides itself in About mode.
    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, kWidth, kHeight);
    Picture1->setStyleSheet(QStringLiteral("QFrame#Picture1 { background: #1e0c06; border: 1px solid #c89a48; }"
                                           "QLabel { color: #f4e2b0; }"));
    auto* about = new QVBoxLayout(Picture1);
    about->setContentsMargins(48, 40, 48, 40);
    about->setSpacing(10);
    const QString version = QString::number(kVersionMajor) + QLatin1Char('.') + FormatNumber(kVersionMinor, 2) +
                            QLatin1Char('.') + FormatNumber(kVersionPatch, 2);
    const std::array<QString, 6> lines = {GetResText(345) + version, GetResText(347) + kAuthorMail,
                                          GetResText(350),           GetResText(348),
                                          GetResText(349),           GetResText(346) + kAuthor};
    // Shown top to bottom: version, author, mail, language, description.
    for (int i = 0; i < 6; ++i)
        Label6[i] = named(new QLabel(lines[i], Picture1), indexed("Label6", i));
    QLabel* title = named(new QLabel(GetResText(351), Picture1), QStringLiteral("AboutTitle"));
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    about->addWidget(title);
    about->addSpacing(8);
    for (int i : {0, 5, 1, 2, 3, 4})
        about->addWidget(Label6[i]);
    Label6[4]->setWordWrap(true);
    about->addStretch();
    Picture1->hide();
}

void Form3::setEditorFactories(EditorFactory newOfficerEditor, EditorFactory saveEditor)
{
    newOfficerEditor_ = std::move(newOfficerEditor);
    saveEditor_ = std::move(saveEditor);
}

QWidget* Form3::placeholderEditor(const QString& caption)
{
    auto* editor = new QWidget(nullptr, Qt::Window);
    editor->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(editor);
    layout->addWidget(new QLabel(caption, editor));
    editor->resize(320, 120);
    return editor;
}

void Form3::openEditor(const EditorFactory& factory)
{
    // An editor that refuses to open (no saved game, say) has told the user why.
    QWidget* editor = factory ? factory(session_) : placeholderEditor(GetResText(351));
    if (!editor)
        return;
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &QObject::destroyed, this, &Form3::returnToStart);
    editor->show();
    if (editor->isVisible())
        hide();
}

void Form3::Command2_Click()
{
    openEditor(newOfficerEditor_);
}

void Form3::Command3_Click()
{
    openEditor(saveEditor_);
}

void Form3::Command5_Click()
{
    close();
}

bool Form3::aboutMode() const
{
    return Picture1->isVisible();
}

void Form3::showAbout()
{
    Picture1->show();
    Picture1->raise();
    show();
    raise();
}

void Form3::returnToStart()
{
    Picture1->hide();
    show();
    raise();
    activateWindow();
}

void Form3::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!background_.isNull()) {
        if (shownBackground_.isNull())
            shownBackground_ = QPixmap::fromImage(background_);
        painter.drawPixmap(rect(), shownBackground_);
        return;
    }
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x5a, 0x1c, 0x10));
    sky.setColorAt(1, QColor(0x1c, 0x0c, 0x06));
    painter.fillRect(rect(), sky);
}

void Form3::mousePressEvent(QMouseEvent* event)
{
    drag_.press(event);
    if (aboutMode())
        hide();
}

void Form3::mouseMoveEvent(QMouseEvent* event)
{
    drag_.move(this, event);
}

void Form3::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && aboutMode())
        hide();
    QWidget::changeEvent(event);
}

void Form3::closeEvent(QCloseEvent* event)
{
    DeleteTemporaryBitmaps(session_.tempFolder);
    event->accept();
    emit programEnded();
}

}  // namespace varkel
