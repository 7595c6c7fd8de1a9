#pragma once

#include "shared/session.h"
#include "shared/ui/window_drag.h"

#include <QDialog>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;

namespace varkel {

// The face picker: 28 faces a page, paged round the whole bank. Opens on the face
// it is given; confirming gives the selected face, cancelling gives nothing.
// Callers show it modally.
class FacePicker : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSlots = 28;

    FacePicker(Session& session, int face, QWidget* parent = nullptr);

    // Shows the picker modally on `face`; the face chosen, or nothing when cancelled.
    static std::optional<int> getFace(Session& session, int face, QWidget* parent = nullptr);
    // The face confirmed; nothing until one is.
    std::optional<int> picked() const { return picked_; }
    // The face framed, which confirming picks.
    int selectedFace() const { return selectedFace_; }

    int pageStart() const { return pageStart_; }

    // Draws the page starting at `start`, which is wrapped into the bank in place.
    void MoveFace(int& start);

    void previousPage();
    void nextPage();
    void pickSelected();
    void cancel();
    void selectSlot(int k);
    void pickSlot(int k);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The arrow keys move the focus mark and the choice with it, turning the page
    // at its edges; Page Up and Page Down turn the page; Enter picks the marked face.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildControls();
    // The heading (Label2) and the close glyph (Label3) above the faces.
    void buildHeading();
    // The page of faces (Picture1), with the choice frame (Shape1) and the focus mark over it.
    void buildFaces();
    // A face (Picture2) and its number (Label1) per slot, seven a row.
    void buildSlots();
    // The page buttons, then confirm and cancel (Command1..Command4).
    void buildButtons();
    void frameSlot(int k);
    // Moves the focus mark `by` slots and chooses the face there.
    void moveMark(int by);
    void placeFocusMark();
    void setCloseGlyphHot(bool hot);
    int slotOf(QObject* watched) const;

    Session& session_;
    int pageStart_ = 0;
    int selectedFace_ = 0;  // the face framed
    std::optional<int> picked_;
    WindowDrag drag_;
    int markedSlot_ = 0;  // the slot the keyboard is on: the chosen face's, or where it was on the last page

    QFrame* Picture1 = nullptr;
    std::array<QLabel*, kSlots> Picture2{};
    std::array<QLabel*, kSlots> Label1{};
    QFrame* Shape1 = nullptr;
    QFrame* FocusMark = nullptr;  // around the marked slot while the faces have the keyboard focus
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
};

}  // namespace varkel
