#pragma once

#include "shared/session.h"
#include "shared/ui/window_drag.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <deque>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace varkel {

// The start window: offers the two editors, doubles as the About view, and owns
// the end of the program (its close deletes the temporary bitmaps).
class StartWindow : public QWidget {
    Q_OBJECT
public:
    // Opens an editor on `path`, or on its usual file when `path` is empty; nullptr
    // when it refuses to open (it has told the user why).
    using EditorFactory = std::function<QWidget*(Session&, const QString& path)>;
    // Opens `path` in an editor already open, as its File > Open does (its
    // questions about unsaved edits included).
    using FileOpener = std::function<void(QWidget& editor, const QString& path)>;
    struct Editor {
        EditorFactory open;  // none: a placeholder window
        FileOpener openFile;
        std::function<bool(const QString& path)> takes;  // whether it takes a file handed over
    };

    explicit StartWindow(Session& session, QWidget* parent = nullptr);

    // Editors are made fresh each time they open. A file handed to the program
    // goes to the new-officer editor when it takes it, to the saved-game editor
    // otherwise.
    void setEditorFactories(Editor newOfficerEditor, Editor saveEditor);

    // About view: the About panel over the window, shown without hiding the editor.
    void showAbout();
    // Leaves the About view: over an editor the window hides, otherwise the start
    // window shows again, so the program never runs with nothing on screen.
    void leaveAbout();
    // An editor closed: back to the start mode.
    void returnToStart();
    // A file given at start or handed over by a later start (empty for none): the
    // program's window comes to the front, then the file opens in its editor. An
    // editor of the other kind closes first, asking about its unsaved changes. A
    // file that arrives while a modal window is open waits for it to close.
    void handOver(const QString& path);
    // Ctrl+Q in any window: the editor open closes, with its questions, and then
    // the program ends; "Cancel" to a question keeps both.
    void quitProgram();
    // The editor open now, or nullptr.
    QWidget* editor() const { return editor_; }

    bool aboutMode() const;
    bool hasBackgroundPicture() const { return !background_.isNull() || !shownBackground_.isNull(); }

    void openNewOfficerEditor();
    void openSaveGameEditor();
    void closeProgram();

signals:
    // The start window closed: the program ends.
    void programEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Escape or Enter leaves the About view.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Made in stacking order: the About panel, made last, lies over the rest.
    void buildControls();
    // The font of the window's title and of the About panel's.
    QFont titleFont() const;
    // The title bands: the program's name (Label7) at the top, the subtitle (Label3) lower down.
    void buildTitle();
    // "Varkel" drawn in three layers (Label2, Label4, Label5) with a rule (Line1) under
    // it, shown when the game folder has no background picture.
    void buildDrawnTitle();
    // The buttons of the two editors and the exit (Command2, Command3, Command5).
    void buildButtons();
    // The About panel (Picture1), hidden until the About view.
    void buildAboutPanel();
    void openEditor(const Editor& kind, const QString& path = {});
    // Closes the editor open, with its questions; false when it stays open.
    bool closeEditor();
    void openFile(const QString& path);
    void openWaitingFiles();
    // Shows, un-minimises and raises the window the user works in.
    void comeToFront();
    static QWidget* placeholderEditor(const QString& caption);

    Session& session_;
    Editor newOfficerEditor_;
    Editor saveEditor_;
    QWidget* editor_ = nullptr;
    const Editor* editorKind_ = nullptr;
    std::deque<QString> waitingFiles_;
    QTimer* waitForModal_ = nullptr;
    bool openingFiles_ = false;
    QImage background_;
    QPixmap shownBackground_;  // made on the first paint: opening an editor at once never needs it
    WindowDrag drag_;

    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command5 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label7 = nullptr;
    QFrame* Picture1 = nullptr;
    std::array<QLabel*, 6> Label6{};
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QFrame* Line1 = nullptr;
};

}  // namespace varkel
