#include "saveeditor/ui/editor_modes.h"

#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/officer_control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/officer_column.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/scenario_commands.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/ui/control_names.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/record_list.h"

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

#include <algorithm>
#include <utility>

namespace varkel {

namespace {

const std::array<const char*, 4> kModeCaptions = {"武將編輯", "寶物編輯", "人物關系", "家庭成員"};

}  // namespace

EditorModes::EditorModes(SaveGameEditor& editor) : QObject(&editor), editor_(editor) {}

void EditorModes::addButtons(QBoxLayout& row)
{
    QWidget* parent = row.parentWidget();
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < 4; ++i) {
        Option3[i] = named(new QRadioButton(QString::fromUtf8(kModeCaptions[i]), parent), indexed("Option3", i));
        group->addButton(Option3[i], i);
        row.addWidget(Option3[i]);
        // Alt+1..4 choose the modes, as clicking them does; the button's tooltip names the key.
        auto* key = new QAction(Option3[i]);
        key->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + i)));
        key->setShortcutContext(Qt::WindowShortcut);
        connect(key, &QAction::triggered, Option3[i], &QRadioButton::click);
        editor_.addAction(key);
        Option3[i]->setToolTip(key->shortcut().toString(QKeySequence::NativeText));
    }
    connect(group, &QButtonGroup::idClicked, this, &EditorModes::show);
}

QWidget* EditorModes::buildViews()
{
    stack_ = new QStackedWidget(&editor_);
    // The Save buttons write the file, whichever view shows them; the buttons of
    // views not built yet wait hidden here.
    for (int i = 0; i < 4; ++i) {
        Command8[i] = named(new QPushButton(QStringLiteral("保存"), stack_), indexed("Command8", i));
        Command8[i]->hide();
        connect(Command8[i], &QPushButton::clicked, this, &EditorModes::saveRequested);
    }
    auto* panel = new OfficerPanel(editor_.session(), stack_);
    panel->setList(editor_.column().List1);
    officers_ = addMode(0, panel);
    wireOfficerView();
    return stack_;
}

void EditorModes::wireOfficerView()
{
    connect(officers_, &OfficerPanel::changeFaceRequested, this,
            [this] { officers_->chooseFace(editor_.picker(), &editor_); });
    // Programmatic changes reach the handler too; it ignores them while the view is filled.
    connect(officers_->Check5, &QCheckBox::toggled, this, [this] { editor_.officerControl().controlTicked(); });
    connect(officers_->Command11, &QPushButton::clicked, this, [this] { editor_.officerControl().forceAppearance(); });
    connect(officers_->Command10, &QPushButton::clicked, this, &EditorModes::openIntimacyOfShown);
}

template <typename View>
View* EditorModes::addMode(int i, View* view)
{
    ModeView& mode = *view;
    Frame10[i] = mode.modeWidget();
    Command7[i] = mode.applyButton();
    // Choosing a row shows its record, once the edits of the record shown are applied or dropped.
    ModeView* shows = view;
    RecordList::View shown{[this, shows](int n) { shows->showRecord(editor_.document(), n); },
                           [this, shows] { return shows->differsFrom(editor_.documentKinds()); },
                           // A mode's view stores the record it shows, which is always the list's.
                           [this, shows](int) { return shows->applyShown(editor_.documentKinds()); }};
    lists_[std::size_t(i)] = new RecordList(*mode.modeList(), *editor_.session().prompter, std::move(shown), view);
    // A refused Apply wrote nothing, so the save stays as it was.
    connect(Command7[i], &QPushButton::clicked, lists_[std::size_t(i)], &RecordList::applySelected);
    ShowApplyKeys(Command7[i]);
    mode.commandRow()->addWidget(Command8[i]);
    Command8[i]->show();
    stack_->addWidget(mode.modeWidget());
    // Tab goes through the modes and the officer column, then the view, then its Save.
    TabOrder order;
    const OfficerColumn& column = editor_.column();
    order << Option3 << column.Combo10 << column.List1 << column.Text13 << mode.tabOrder() << Command8[i];
    order.apply();
    // Save is offered for edits typed but not yet applied too: it asks about them.
    WatchUserEdits(*mode.modeWidget(), [this] { emit edited(); });
    return view;
}

RecordList& EditorModes::records(int mode)
{
    view(mode);  // built on first use
    return *lists_[std::size_t(mode)];
}

ModeView& EditorModes::view(int mode)
{
    switch (mode) {
    case 1:
        return *treasurePanel();
    case 2:
        return *relationPanel();
    case 3:
        return *familyPanel();
    default:
        return *officers_;
    }
}

TreasurePanel* EditorModes::treasurePanel()
{
    if (treasures_)
        return treasures_;
    treasures_ = addMode(1, new TreasurePanel(editor_.session(), stack_));
    treasures_->setNotes(editor_.scenarioCommands().notes());
    connect(treasures_, &TreasurePanel::chooseOwnerRequested, this, [this] {
        if (const auto owner = Pick(editor_.picker(), PickerKind::Officer, treasures_->currentOwner(), &editor_))
            treasures_->setOwner(*owner);
    });
    connect(treasures_->Command13, &QPushButton::clicked, this, [this] { editor_.scenarioCommands().write(); });
    emit edited();  // the scenario's Save button follows the unsaved state
    return treasures_;
}

RelationPanel* EditorModes::relationPanel()
{
    if (relations_)
        return relations_;
    relations_ = addMode(2, new RelationPanel(editor_.session(), stack_));
    connect(relations_, &RelationPanel::changePartyRequested, this, &EditorModes::chooseRelationParty);
    return relations_;
}

FamilyPanel* EditorModes::familyPanel()
{
    if (family_)
        return family_;
    family_ = addMode(3, new FamilyPanel(editor_.session(), stack_));
    family_->setRandomSource(editor_.randomSource());
    connect(family_, &FamilyPanel::changeFaceRequested, this,
            [this] { family_->chooseFace(editor_.picker(), &editor_); });
    connect(family_, &FamilyPanel::forecastRequested, this, [this] { editor_.sideWindows().openGrowthForecast(); });
    return family_;
}

void EditorModes::setRandomSource(const std::function<double()>& random)
{
    if (family_)
        family_->setRandomSource(random);
}

void EditorModes::show(int index)
{
    if (index != mode_ && !editor_.mayLeaveRecord()) {
        Option3[mode_]->setChecked(true);
        return;
    }
    mode_ = index;
    ModeView& shown = view(index);
    stack_->setCurrentWidget(shown.modeWidget());
    emit this->shown(index);
    if (!needsFilling_[index])
        return;
    needsFilling_[index] = false;
    emit aboutToFill(index);
    const ModeRows rows = shown.listRows(editor_.document());
    RecordList& list = records(index);
    list.setRows(rows.texts, rows.first);
    if (const int row = std::exchange(rowAfterFilling_[index], -1); row >= 0)
        list.choose(row);
}

void EditorModes::showOpened()
{
    const auto quiet = whileFilling();
    needsFilling_.fill(true);
    rowAfterFilling_.fill(-1);
    Option3[0]->setChecked(true);
    show(0);
}

void EditorModes::reload()
{
    const auto quiet = whileFilling();
    rowAfterFilling_[std::size_t(mode_)] = records(mode_).selectedRecord();
    needsFilling_.fill(true);
    show(mode_);
}

void EditorModes::refillOthersLater()
{
    for (int mode = 1; mode < int(needsFilling_.size()); ++mode) {
        if (!needsFilling_[std::size_t(mode)]) {
            needsFilling_[std::size_t(mode)] = true;
            rowAfterFilling_[std::size_t(mode)] = records(mode).selectedRecord();
        }
    }
}

void EditorModes::showRecordOf(SaveRecord kind, int n)
{
    const int mode = int(std::find(kRecords.begin(), kRecords.end(), kind) - kRecords.begin());
    if (mode >= int(kRecords.size()))
        return;
    if (mode != mode_)
        Option3[mode]->click();
    if (mode != mode_)
        return;  // the user chose to stay with edits not yet applied
    records(mode).choose(n);
}

PendingEdits EditorModes::pendingEdits()
{
    return filling_ ? PendingEdits{} : records(mode_).pendingEdits();
}

bool EditorModes::viewHoldsEdits()
{
    return !filling_ && records(mode_).viewDiffers();
}

void EditorModes::chooseRelationParty(int p)
{
    const Relation& r = relations_->current();
    const int party = p == 0 ? r.a : p == 1 ? r.b : r.c;
    // Cancelled, or the same officer picked: the party stays.
    if (const auto picked = Pick(editor_.picker(), PickerKind::Officer, party, &editor_); picked && *picked != party)
        relations_->setParty(editor_.document().bytes(), editor_.tables(), p, *picked);
}

void EditorModes::openIntimacyOfShown()
{
    const int officer = records(0).shownRecord();
    const auto& controlled = editor_.tables().controlled;
    const auto slot = std::find(controlled.begin(), controlled.end(), officer);
    if (officer >= 0 && slot != controlled.end())
        editor_.sideWindows().openIntimacyEditor(int(slot - controlled.begin()));
}

QSize EditorModes::unbuiltRoom() const
{
    // The family view, the largest, is built only when first shown; until then its
    // size, in characters and lines of the window's font, is kept for it, so that
    // the window opens large enough for every view where the screen allows.
    constexpr int kFamilyViewChars = 68;
    constexpr int kFamilyViewLines = 39;
    if (!stack_)
        return {};
    const QFontMetrics metrics = editor_.fontMetrics();
    const QSize family(metrics.horizontalAdvance(QChar(0x570B)) * kFamilyViewChars,
                       metrics.lineSpacing() * kFamilyViewLines);
    return (family - stack_->sizeHint()).expandedTo(QSize(0, 0));
}

}  // namespace varkel
