#include "saveeditor/ui/force_editor.h"

#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/side_editor.h"
#include "shared/ui/text_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {

using namespace force;

namespace {

constexpr int kRowDigits = 2;
constexpr int kTroopColumns = 3;

}  // namespace

ForceEditor::ForceEditor(Prompter& prompter, SaveDocument& document, const QStringList& courtRanks, QWidget* parent)
    : QDialog(parent), prompter_(prompter), document_(document), kinds_(document, {}),
      save_(document.bytes()), flags_(ForceFields(), this)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(GetResText(Text::ForceEditorTitle));
    setModal(true);

    buildList();
    // Undo, redo or a batch changed the save under the view: the force shown is
    // read again, so that its next Apply stores nothing that was undone.
    connect(&document_, &Document::changed, this, [this](const DocumentChange& change) {
        if (change.cause != DocumentChange::Cause::Apply && shownForce_ >= 0)
            showForce(shownForce_);
    });
    Frame3 = buildForceInfo(courtRanks);
    Frame1 = buildFlagFrame(QStringLiteral("兵種"), QStringLiteral("Frame1"), "Check1", Check1);
    Frame2 = buildFlagFrame(QStringLiteral("器械"), QStringLiteral("Frame2"), "Check2", Check2);

    const SideEditorButtons buttons = LayOutSideEditor(*this, List1, {Frame3, Frame1, Frame2},
                                                       QStringLiteral("Command1"), QStringLiteral("Command2"));
    Command1 = buttons.apply;
    Command2 = buttons.exit;
    tableButton = buttons.table;
    connect(Command1, &QPushButton::clicked, this, &ForceEditor::applySelected);

    TabOrder order;
    order << List1 << Text1 << Combo1 << Combo2 << Check1 << Check2 << tableButton << Command1 << Command2;
    order.apply();

    const bool any = !forces_.empty();
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame1, Frame2, Command1})
        w->setEnabled(any);
    if (any)
        List1->setCurrentRow(0);
}

void ForceEditor::buildList()
{
    List1 = TextList(this, QStringLiteral("List1"));
    for (int s = 0; s < kCount; ++s) {
        if (document_.tables().forceNames.value(s).isEmpty())
            continue;
        forces_.push_back(s);
        List1->addItem(FormatNumber(s, kRowDigits) + QLatin1Char(':') + document_.tables().forceNames[s]);
    }
    List1->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:國國國國")) + 40);
    connect(List1, &QListWidget::currentRowChanged, this, &ForceEditor::forceChosen);
}

QGroupBox* ForceEditor::buildForceInfo(const QStringList& courtRanks)
{
    auto* frame = named(new QGroupBox(QStringLiteral("勢力情報"), this), QStringLiteral("Frame3"));
    Text1 = named(new QLineEdit(frame), QStringLiteral("Text1"));
    UseNameFilter(Text1, kNameCapacity);
    Combo1 = named(new QComboBox(frame), QStringLiteral("Combo1"));
    FillList(Combo1, courtRanks);
    Combo2 = named(new QComboBox(frame), QStringLiteral("Combo2"));
    FillList(Combo2, TechnologyItems());
    const int nameWidth = fontMetrics().horizontalAdvance(QStringLiteral("國國國國國國國")) + 24;
    Text1->setMinimumWidth(nameWidth);
    auto* info = new QGridLayout(frame);
    const std::pair<const char*, const char*> captions[] = {{"Label3", "國號"}, {"Label1", "官爵"}, {"Label2", "技朮"}};
    QWidget* const boxes[] = {Text1, Combo1, Combo2};
    for (int i = 0; i < 3; ++i) {
        info->addWidget(named(new QLabel(QString::fromUtf8(captions[i].second), frame),
                              QString::fromLatin1(captions[i].first)),
                        i, 0);
        info->addWidget(boxes[i], i, 1);
    }
    info->setColumnStretch(1, 1);
    return frame;
}

QGroupBox* ForceEditor::buildFlagFrame(const QString& caption, const QString& name, const char* boxName,
                                       std::span<QCheckBox*> boxes)
{
    auto* frame = named(new QGroupBox(caption, this), name);
    auto* grid = new QGridLayout(frame);
    for (int k = 0; k < int(boxes.size()); ++k) {
        boxes[k] = flags_.box(indexed(boxName, k));
        boxes[k]->setParent(frame);
        grid->addWidget(boxes[k], k / kTroopColumns, k % kTroopColumns);
    }
    return frame;
}

void ForceEditor::chooseForce(int s)
{
    const auto at = std::find(forces_.begin(), forces_.end(), s);
    if (at != forces_.end())
        List1->setCurrentRow(int(at - forces_.begin()));
}

int ForceEditor::selectedForce() const
{
    const int row = List1->currentRow();
    return row >= 0 && row < int(forces_.size()) ? forces_[std::size_t(row)] : -1;
}

void ForceEditor::showForce(int s)
{
    shown_ = DecodeForce(save_, s);
    shownForce_ = s;
    flags_.show(shown_);
    Combo2->setCurrentIndex(shown_.technology());
    SelectListIndex(Combo1, kRankCount, shown_.rank(), shown_.rank());
    Text1->setText(shown_.name);
}

ForceRecord ForceEditor::collect() const
{
    ForceRecord r = shown_;
    flags_.read(r);
    ForceField(QStringLiteral("technology")).set(r, FieldValue{Combo2->currentIndex() + 1, {}, {}});
    if (!ShowsRawValue(Combo1, kRankCount))
        ForceField(QStringLiteral("rank")).set(r, FieldValue{Combo1->currentIndex(), {}, {}});
    r.name = Text1->text();
    return r;
}

void ForceEditor::applyForce(int s)
{
    // Every force the view can hold can be stored.
    kinds_.write(SaveRecord::Force, s, ChangesBetween(ForceFields(), shown_, collect()));
    // The name as stored, so the box shows what the game will.
    showForce(s);
}

bool ForceEditor::viewDiffers() const
{
    return shownForce_ >= 0 &&
           kinds_.differs(SaveRecord::Force, shownForce_, ChangesBetween(ForceFields(), shown_, collect()));
}

void ForceEditor::applySelected()
{
    if (selectedForce() < 0)
        return;
    applyForce(selectedForce());
    emit applied();
}

bool ForceEditor::applyShownForce()
{
    applyForce(shownForce_);
    emit applied();
    return true;
}

PendingEdits ForceEditor::pendingEdits()
{
    return {[this] { return viewDiffers(); }, [this] { return applyShownForce(); }, [this] { showForce(shownForce_); }};
}

void ForceEditor::forceChosen()
{
    const int s = selectedForce();
    const auto shown = std::find(forces_.begin(), forces_.end(), shownForce_);
    const int shownRow = shown == forces_.end() ? -1 : int(shown - forces_.begin());
    if (s >= 0 && s != shownForce_ && MayMoveList(*List1, List1->currentRow(), shownRow, prompter_, pendingEdits()))
        showForce(s);
}

void ForceEditor::done(int result)
{
    if (MayLeaveRecord(prompter_, pendingEdits()))
        QDialog::done(result);
}

}  // namespace varkel
