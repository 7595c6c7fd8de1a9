#include "shared/ui/start_window.h"

#include "shared/file_io.h"
#include "shared/game_folder.h"
#include "shared/name_field.h"
#include "shared/temp_folder.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/window_geometry.h"
#include "version.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

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

StartWindow::StartWindow(Session& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), session_(session)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(GetResText(Text::EditorTitle));
    setFixedSize(kWidth, kHeight);

    const QString selgame = GameFilePath(session_.gameFolder, QStringLiteral("Selgame.vk"));
    // One byte more than the picture tells a file of another size.
    const auto picture = ReadRegularFile(selgame, kBackgroundFileSize + 1);
    if (picture && picture->size() == kBackgroundFileSize)
        background_ = BackgroundPicture(*picture);
    buildControls();
    KeepWindowGeometry(*this, session_);
    UseProgramKeys(*this, [this] { quitProgram(); });
}

void StartWindow::buildControls()
{
    buildTitle();
    buildDrawnTitle();
    buildButtons();
    buildAboutPanel();
}

QFont StartWindow::titleFont() const
{
    // Every text of the window is in the program's font at its one weight: a bold or
    // another family would load a second font file (the CJK ones are 20 MB each)
    // before the window can show. Size, spacing and colour set the title apart.
    QFont title = font();
    title.setPointSize(24);
    title.setLetterSpacing(QFont::PercentageSpacing, 106);
    return title;
}

void StartWindow::buildTitle()
{
    Label7 = named(new QLabel(GetResText(Text::EditorTitle), this), QStringLiteral("Label7"));
    Label3 = named(new QLabel(GetResText(Text::AboutHeading), this), QStringLiteral("Label3"));
    Label7->setFont(titleFont());
    QFont subtitleFont = font();
    subtitleFont.setPointSize(13);
    Label3->setFont(subtitleFont);
    const QString band = QStringLiteral("background: rgba(40, 16, 8, 150); padding: 2px 10px;");
    Label7->setStyleSheet(QStringLiteral("color: #f0c060; border-top: 1px solid rgba(240, 192, 96, 150); "
                                         "border-bottom: 1px solid rgba(240, 192, 96, 150); ") +
                          band);
    Label3->setStyleSheet(QStringLiteral("color: #f4e2b0; ") + band);
    for (QLabel* label : {Label7, Label3})
        label->setAlignment(Qt::AlignCenter);
    Label7->setGeometry(0, 24, kWidth, 48);
    Label3->setGeometry((kWidth - 220) / 2, 186, 220, 30);
}

void StartWindow::buildDrawnTitle()
{
    // The drawn title, used when the background picture is missing.
    Label2 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label2"));
    Label4 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label4"));
    Label5 = named(new QLabel(QStringLiteral("Varkel"), this), QStringLiteral("Label5"));
    QFont drawn = font();
    drawn.setPointSize(44);
    drawn.setItalic(true);  // slanted from the same face: no italic file to load
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
}

void StartWindow::buildButtons()
{
    Command2 = named(new QPushButton(QStringLiteral("新的武將(&N)"), this), QStringLiteral("Command2"));
    Command3 = named(new QPushButton(QStringLiteral("存檔修改(&S)"), this), QStringLiteral("Command3"));
    Command5 = named(new QPushButton(QStringLiteral("退出程序(&X)"), this), QStringLiteral("Command5"));
    int y = 232;
    for (QPushButton* button : {Command2, Command3, Command5}) {
        button->setGeometry((kWidth - 160) / 2, y, 160, 32);
        y += 38;
    }
    connect(Command2, &QPushButton::clicked, this, &StartWindow::openNewOfficerEditor);
    connect(Command3, &QPushButton::clicked, this, &StartWindow::openSaveGameEditor);
    connect(Command5, &QPushButton::clicked, this, &StartWindow::closeProgram);
    // Enter presses the button that has the focus, as Space does.
    for (QPushButton* button : {Command2, Command3, Command5})
        button->setAutoDefault(true);
    TabOrder order;
    order << Command2 << Command3 << Command5;
    order.apply();
}

void StartWindow::buildAboutPanel()
{
    // The About panel covers the window, buttons included; its clicks reach the
    // window, which hides itself in About mode.
    Picture1 = new QFrame(this);
    // While the panel covers the buttons, neither keys nor their shortcuts reach them.
    Picture1->installEventFilter(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, kWidth, kHeight);
    Picture1->setStyleSheet(QStringLiteral("QFrame#Picture1 { background: #1e0c06; border: 1px solid #c89a48; }"
                                           "QLabel { color: #f4e2b0; } QLabel#AboutTitle { color: #f0c060; }"));
    auto* about = new QVBoxLayout(Picture1);
    about->setContentsMargins(48, 40, 48, 40);
    about->setSpacing(10);
    const QString version = QString::number(kVersionMajor) + QLatin1Char('.') + FormatNumber(kVersionMinor, 2) +
                            QLatin1Char('.') + FormatNumber(kVersionPatch, 2);
    const std::array<QString, 6> lines = {GetResText(Text::AboutVersion) + version,
                                          GetResText(Text::AboutMail) + kAuthorMail,
                                          GetResText(Text::AboutLanguage),
                                          GetResText(Text::AboutNote),
                                          GetResText(Text::AboutPurpose),
                                          GetResText(Text::AboutAuthor) + kAuthor};
    // Shown top to bottom: version, author, mail, language, description.
    for (int i = 0; i < 6; ++i)
        Label6[i] = named(new QLabel(lines[i], Picture1), indexed("Label6", i));
    QLabel* title = named(new QLabel(GetResText(Text::EditorTitle), Picture1), QStringLiteral("AboutTitle"));
    title->setFont(titleFont());
    title->setAlignment(Qt::AlignCenter);
    about->addWidget(title);
    about->addSpacing(8);
    for (int i : {0, 5, 1, 2, 3, 4})
        about->addWidget(Label6[i]);
    Label6[4]->setWordWrap(true);
    about->addStretch();
    Picture1->hide();
}

void StartWindow::setEditorFactories(Editor newOfficerEditor, Editor saveEditor)
{
    newOfficerEditor_ = std::move(newOfficerEditor);
    saveEditor_ = std::move(saveEditor);
}

QWidget* StartWindow::placeholderEditor(const QString& caption)
{
    auto* editor = new QWidget(nullptr, Qt::Window);
    editor->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(editor);
    layout->addWidget(new QLabel(caption, editor));
    editor->resize(320, 120);
    return editor;
}

void StartWindow::openEditor(const Editor& kind, const QString& path)
{
    // An editor that refuses to open (no saved game, say) has told the user why.
    QWidget* editor = kind.open ? kind.open(session_, path) : placeholderEditor(GetResText(Text::EditorTitle));
    if (!editor)
        return;
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor_ = editor;
    editorKind_ = &kind;
    // An editor closed to open another one is no longer the one shown.
    connect(editor, &QObject::destroyed, this, [this, editor] {
        if (editor_ != editor)
            return;
        editor_ = nullptr;
        editorKind_ = nullptr;
        returnToStart();
    });
    editor->show();
    if (editor->isVisible())
        hide();
}

void StartWindow::openNewOfficerEditor()
{
    openEditor(newOfficerEditor_);
}

void StartWindow::openSaveGameEditor()
{
    openEditor(saveEditor_);
}

void StartWindow::closeProgram()
{
    close();
}

void StartWindow::quitProgram()
{
    // A modal window (a side editor, a picker, a question) closes first, with its
    // questions; the rest follows once its own event loop has ended.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (CloseWindow(*modal))
            QTimer::singleShot(0, this, &StartWindow::quitProgram);
        return;
    }
    // As when the editor's own window closes: it asks about its unsaved changes.
    if (closeEditor())
        close();
}

bool StartWindow::closeEditor()
{
    if (editor_ && !editor_->close())
        return false;
    editor_ = nullptr;
    editorKind_ = nullptr;
    return true;
}

bool StartWindow::aboutMode() const
{
    return Picture1->isVisible();
}

void StartWindow::showAbout()
{
    Picture1->show();
    Picture1->raise();
    show();
    raise();
    // It takes the keyboard, so that Escape leaves it.
    activateWindow();
}

void StartWindow::leaveAbout()
{
    if (editor_)
        hide();
    else
        Picture1->hide();
}

void StartWindow::returnToStart()
{
    Picture1->hide();
    show();
    raise();
    activateWindow();
}

void StartWindow::comeToFront()
{
    QWidget* window = editor_ && editor_->isVisible() ? editor_ : this;
    if (window == this && !isVisible())
        returnToStart();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    // A question or picker open over it stays on top.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void StartWindow::handOver(const QString& path)
{
    comeToFront();
    if (path.isEmpty())
        return;
    waitingFiles_.push_back(path);
    openWaitingFiles();
}

void StartWindow::openWaitingFiles()
{
    // Files that arrive while one opens (its questions run an event loop) come after it.
    if (openingFiles_)
        return;
    openingFiles_ = true;
    while (!waitingFiles_.empty()) {
        // A modal window (a side editor, a picker, a question) works on the open
        // file; the new one waits until it is closed.
        if (QApplication::activeModalWidget()) {
            if (!waitForModal_) {
                waitForModal_ = new QTimer(this);
                waitForModal_->setSingleShot(true);
                waitForModal_->setInterval(200);
                connect(waitForModal_, &QTimer::timeout, this, &StartWindow::openWaitingFiles);
            }
            waitForModal_->start();
            break;
        }
        const QString path = waitingFiles_.front();
        waitingFiles_.pop_front();
        openFile(path);
    }
    openingFiles_ = false;
}

void StartWindow::openFile(const QString& path)
{
    const bool newOfficerFile = newOfficerEditor_.takes && newOfficerEditor_.takes(path);
    const Editor& kind = newOfficerFile ? newOfficerEditor_ : saveEditor_;
    if (editor_ && editorKind_ == &kind) {
        if (kind.openFile)
            kind.openFile(*editor_, path);
        return;
    }
    // The other editor closes first, with its own questions; "Cancel" keeps it.
    if (!closeEditor())
        return;
    // The start window shows until the editor does, and stays when it refuses the file.
    returnToStart();
    openEditor(kind, path);
}

void StartWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (hasBackgroundPicture()) {
        // The picture is kept in one form only: the one drawn.
        if (shownBackground_.isNull())
            shownBackground_ = QPixmap::fromImage(std::exchange(background_, QImage()));
        painter.drawPixmap(rect(), shownBackground_);
        return;
    }
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0x5a, 0x1c, 0x10));
    sky.setColorAt(1, QColor(0x1c, 0x0c, 0x06));
    painter.fillRect(rect(), sky);
}

void StartWindow::mousePressEvent(QMouseEvent* event)
{
    drag_.press(event);
    if (aboutMode())
        leaveAbout();
}

void StartWindow::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (aboutMode() && (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter))
        leaveAbout();
    else if (!aboutMode() && event->matches(QKeySequence::HelpContents))  // F1
        showAbout();
    else
        QWidget::keyPressEvent(event);
}

bool StartWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture1 && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        const bool start = event->type() == QEvent::HideToParent;
        for (QPushButton* button : {Command2, Command3, Command5})
            button->setEnabled(start);
        // Back from About, the keyboard starts at the first button again.
        if (start && !focusWidget())
            Command2->setFocus(Qt::OtherFocusReason);
    }
    return QWidget::eventFilter(watched, event);
}

void StartWindow::mouseMoveEvent(QMouseEvent* event)
{
    drag_.move(this, event);
}

void StartWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && aboutMode())
        leaveAbout();
    QWidget::changeEvent(event);
}

void StartWindow::closeEvent(QCloseEvent* event)
{
    // Over an editor the window is only its About view: closing that leaves the
    // editor, and its unsaved changes, as they are.
    if (editor_) {
        event->ignore();
        leaveAbout();
        return;
    }
    DeleteTemporaryBitmaps(session_.tempFolder);
    event->accept();
    emit programEnded();
}

}  // namespace varkel
