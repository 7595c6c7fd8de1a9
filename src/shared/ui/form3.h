#pragma once

#include "shared/session.h"
#include "shared/ui/window_drag.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace varkel {

// The start window: offers the two editors, doubles as the About view, and owns
// the end of the program (its close deletes the temporary bitmaps).
class Form3 : public QWidget {
    Q_OBJECT
public:
    using EditorFactory = std::function<QWidget*(Session&)>;

    explicit Form3(Session& session, QWidget* parent = nullptr);

    // Editors are made fresh each time they open; an editor without a factory is a
    // placeholder window, and a factory gives nullptr when its editor refuses to open.
    void setEditorFactories(EditorFactory newOfficerEditor, EditorFactory saveEditor);

    // About view: the About panel over the window, shown without hiding the editor.
    void showAbout();
    // An editor closed: back to the start mode.
    void returnToStart();

    bool aboutMode() const;
    bool hasBackgroundPicture() const { return !background_.isNull(); }

    void Command2_Click();
    void Command3_Click();
    void Command5_Click();

signals:
    // The start window closed: the program ends.
    void programEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void openEditor(const EditorFactory& factory);
    static QWidget* placeholderEditor(const QString& caption);

    Session& session_;
    EditorFactory newOfficerEditor_;
    EditorFactory saveEditor_;
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
