// SaveGameEditor's window: its menus, the row of modes, the officer column, the
// views of the modes (built when first shown) and the status line.
#include "saveeditor/ui/save_game_editor.h"

#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/officer_control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/officer_search_box.h"
#include "shared/ui/text_list.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

namespace varkel {

namespace {

const std::array<const char*, 4> kModeCaptions = {"武將編輯", "寶物編輯", "人物關系", "家庭成員"};
const std::array<const char*, 9> kSlotNumerals = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};

}  // namespace

QWidget* SaveGameEditor::buildViews()
{
    modes_ = new QStackedWidget(this);
    // The Save buttons write the file, whichever view shows them; the buttons of
    // views not built yet wait hidden here.
    for (int i = 0; i < 4; ++i) {
        Command8[i] = named(new QPushButton(QStringLiteral("保存"), this), indexed("Command8", i));
        Command8[i]->hide();
        connect(Command8[i], &QPushButton::clicked, this, [this] { files_->save(); });
    }
    panel_ = addMode(0, new OfficerPanel(session_, modes_));
    panel_->setList(List1);
    // The views in the order of Option3; all but the officer view are built when first asked for.
    modeViews_ = {[this]() -> ModeView& { return *panel_; }, [this]() -> ModeView& { return *treasurePanel(); },
                  [this]() -> ModeView& { return *relationPanel(); }, [this]() -> ModeView& { return *familyPanel(); }};
    panel_->setCityNames(document_->scenario().cityNames);
    connect(panel_, &OfficerPanel::changeFaceRequested, this, [this] { panel_->chooseFace(picker_, this); });
    // Programmatic changes reach the handler too; it ignores them while the view is filled.
    connect(panel_->Check5, &QCheckBox::toggled, this, [this] { control_->controlTicked(); });
    connect(panel_->Command11, &QPushButton::clicked, this, [this] { control_->forceAppearance(); });
    connect(panel_->Command10, &QPushButton::clicked, this, &SaveGameEditor::openIntimacyOfShown);
    return modes_;
}

QStatusBar* SaveGameEditor::buildStatusLine()
{
    // A link, not a stop of Tab: the list is also on the menu, 其它 > 檢查存檔.
    problemsNote = new QLabel(state_->statusLine());
    problemsNote->setObjectName(QStringLiteral("problemsNote"));
    problemsNote->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    problemsNote->hide();
    state_->statusLine()->addPermanentWidget(problemsNote);
    connect(problemsNote, &QLabel::linkActivated, this, [this] { sides_->openProblems(); });
    return state_->statusLine();
}

SaveGameEditor::~SaveGameEditor() = default;

template <typename View>
View* SaveGameEditor::addMode(int i, View* view)
{
    ModeView& mode = *view;
    Frame10[i] = mode.modeWidget();
    Command7[i] = mode.applyButton();
    // A refused Apply wrote nothing, so the save stays as it was.
    connect(Command7[i], &QPushButton::clicked, this, [this, i] { modeView(i).applyShown(documentKinds()); });
    ShowApplyKeys(Command7[i]);
    mode.commandRow()->addWidget(Command8[i]);
    Command8[i]->show();
    modes_->addWidget(mode.modeWidget());
    // Tab goes through the modes and the officer column, then the view, then its Save.
    TabOrder order;
    order << Option3 << Combo10 << List1 << Text13 << mode.tabOrder() << Command8[i];
    order.apply();
    // Save is offered for edits typed but not yet applied too: it asks about them.
    WatchUserEdits(*mode.modeWidget(), [this] { updateSaveCommands(); });
    return view;
}

ModeView& SaveGameEditor::modeView(int mode)
{
    return modeViews_[std::size_t(mode)]();
}

// The treasure, relationship and family views are built the first time they are
// asked for: many sessions never open them, and building them made the window
// slower to appear. They scroll inside the window, so none of them sets its size.
TreasurePanel* SaveGameEditor::treasurePanel()
{
    if (!treasures_) {
        treasures_ = addMode(1, new TreasurePanel(session_, modes_));
        treasures_->setNotes(treasureNotes_);
        connect(treasures_, &TreasurePanel::treasureChosen, this, [this](int i) {
            if (mayMoveTo(1, i))
                showTreasure(i);
        });
        connect(treasures_, &TreasurePanel::chooseOwnerRequested, this, [this] {
            if (const auto owner = Pick(picker_, PickerKind::Officer, treasures_->currentOwner(), this))
                treasures_->setOwner(*owner);
        });
        connect(treasures_->Command13, &QPushButton::clicked, this, &SaveGameEditor::writeScenario);
        updateSaveCommands();
    }
    return treasures_;
}

FamilyPanel* SaveGameEditor::familyPanel()
{
    if (!family_) {
        family_ = addMode(3, new FamilyPanel(session_, modes_));
        family_->setRandomSource(random_);
        connect(family_, &FamilyPanel::memberChosen, this, [this](int k) {
            if (mayMoveTo(3, k))
                showMember(k);
        });
        connect(family_, &FamilyPanel::changeFaceRequested, this, [this] { family_->chooseFace(picker_, this); });
        connect(family_, &FamilyPanel::forecastRequested, this, [this] { sides_->openGrowthForecast(); });
    }
    return family_;
}

RelationPanel* SaveGameEditor::relationPanel()
{
    if (!relations_) {
        relations_ = addMode(2, new RelationPanel(session_, modes_));
        connect(relations_, &RelationPanel::relationChosen, this, [this](int i) {
            if (mayMoveTo(2, i))
                relations_->showRelation(document_->bytes(), tables(), i);
        });
        connect(relations_, &RelationPanel::changePartyRequested, this, &SaveGameEditor::chooseRelationParty);
    }
    return relations_;
}

void SaveGameEditor::buildMenus(QMenuBar* bar)
{
    QMenu* file = bar->addMenu(QStringLiteral("文件(&F)"));
    tOpenFile = file->addAction(QStringLiteral("打開(&O)"), this, [this] { files_->open(); });
    tSaveFile = file->addAction(QStringLiteral("保存(&S)"), this, [this] { files_->save(); });
    tSaveAs = file->addAction(QStringLiteral("另存為(&A)"), this, [this] { files_->saveAs(); });
    tRecent = file->addMenu(QStringLiteral("最近打開(&R)"));
    tRecent->setObjectName(QStringLiteral("tRecent"));
    connect(tRecent, &QMenu::aboutToShow, this, [this] { files_->fillRecentMenu(*tRecent); });
    file->addSeparator();
    tCompare = file->addAction(QStringLiteral("比較存檔(&D)..."), this, [this] { sides_->compareChosenSave(); });
    tCompare->setObjectName(QStringLiteral("tCompare"));
    tBackups = file->addAction(QStringLiteral("備份記錄(&B)"), this, [this] { sides_->openBackups(); });
    tBackups->setObjectName(QStringLiteral("tBackups"));
    file->addSeparator();
    QMenu* tFSave = file->addMenu(QStringLiteral("存檔(&S)"));
    tFSave->setObjectName(QStringLiteral("tFSave"));
    for (int k = 0; k < save::kSlotCount; ++k) {
        sSavSum[k] =
            tFSave->addAction(QStringLiteral("存檔%1(&%2)").arg(QString::fromUtf8(kSlotNumerals[k])).arg(k + 1));
        sSavSum[k]->setObjectName(indexed("sSavSum", k));
        sSavSum[k]->setCheckable(true);
        connect(sSavSum[k], &QAction::triggered, this, [this, k] { openSlot(k); });
    }
    file->addSeparator();
    tExit = file->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);
    tOpenFile->setObjectName(QStringLiteral("tOpenFile"));
    tSaveFile->setObjectName(QStringLiteral("tSaveFile"));
    tSaveAs->setObjectName(QStringLiteral("tSaveAs"));
    tExit->setObjectName(QStringLiteral("tExit"));

    QMenu* edit = bar->addMenu(QStringLiteral("編輯(&E)"));
    edit->setObjectName(QStringLiteral("tEdit"));
    edit->addAction(tUndo);
    edit->addAction(tRedo);

    QMenu* other = bar->addMenu(QStringLiteral("其它(&O)"));
    other->setObjectName(QStringLiteral("sOther"));
    sCity = other->addAction(QStringLiteral("都市(&C)"), this, [this] { sides_->openCityEditor(-1); });
    sCity->setObjectName(QStringLiteral("sCity"));
    sBingQi = other->addAction(QStringLiteral("勢力(&N)"), this, [this] { sides_->openForceEditor(-1); });
    sBingQi->setObjectName(QStringLiteral("sBingQi"));
    other->addSeparator();
    sTable = other->addAction(QStringLiteral("一覽表(&T)"), this, [this] {
        const SaveRecord kind = kModeRecords[std::size_t(mode_)];
        sides_->openRecordsTable(kind, this, [this, kind](int n) { showRecordOf(kind, n); });
    });
    sTable->setObjectName(QStringLiteral("sTable"));
    sTable->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    sCheck = other->addAction(QStringLiteral("檢查存檔(&K)"), this, [this] { sides_->openProblems(); });
    sCheck->setObjectName(QStringLiteral("sCheck"));

    QMenu* help = bar->addMenu(QStringLiteral("幫助(&H)"));
    QAction* about = help->addAction(QStringLiteral("關于..."), this, [this] {
        if (showAbout_)
            showAbout_();
    });
    about->setObjectName(QStringLiteral("tAbout"));
    UseStandardKeys({tOpenFile, tSaveFile, tSaveAs, tExit, about});
}

QWidget* SaveGameEditor::buildModes()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(row);
    for (int i = 0; i < 4; ++i) {
        Option3[i] = new QRadioButton(QString::fromUtf8(kModeCaptions[i]), row);
        Option3[i]->setObjectName(indexed("Option3", i));
        group->addButton(Option3[i], i);
        layout->addWidget(Option3[i]);
        // Alt+1..4 choose the modes, as clicking them does; the button's tooltip names the key.
        auto* key = new QAction(Option3[i]);
        key->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + i)));
        key->setShortcutContext(Qt::WindowShortcut);
        connect(key, &QAction::triggered, Option3[i], &QRadioButton::click);
        addAction(key);
        Option3[i]->setToolTip(key->shortcut().toString(QKeySequence::NativeText));
    }
    connect(group, &QButtonGroup::idClicked, this, &SaveGameEditor::showMode);
    layout->addSpacing(24);
    Label28 = new QLabel(row);
    Label28->setObjectName(QStringLiteral("Label28"));
    // A long path must not widen the window.
    Label28->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(Label28, 1);
    return row;
}

QWidget* SaveGameEditor::buildSideColumn()
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    Frame26 = new QGroupBox(column);
    Frame26->setObjectName(QStringLiteral("Frame26"));
    auto* controlled = new QVBoxLayout(Frame26);
    Combo10 = new QComboBox(Frame26);
    Combo10->setObjectName(QStringLiteral("Combo10"));
    controlled->addWidget(Combo10);
    connect(Combo10, &QComboBox::activated, this, &SaveGameEditor::controlledOfficerChosen);
    control_ = std::make_unique<OfficerControl>(*this, *Combo10, *Frame26);
    layout->addWidget(Frame26);

    List1 = TextList(column, QStringLiteral("List1"));
    connect(List1, &QListWidget::currentRowChanged, this, [this](int n) {
        if (n >= 0 && mayMoveTo(0, n))
            showOfficer(n);
    });
    layout->addWidget(List1, 1);

    auto* searchRow = new QHBoxLayout;
    Text13 = new QLineEdit(column);
    Text13->setObjectName(QStringLiteral("Text13"));
    Label34 = new QLabel(column);
    Label34->setObjectName(QStringLiteral("Label34"));
    Label34->setMinimumWidth(Label34->fontMetrics().horizontalAdvance(GetResText(Text::SearchByName)) + 4);
    searchRow->addWidget(Text13);
    searchRow->addWidget(Label34);
    layout->addLayout(searchRow);
    search_ = new OfficerSearchBox(Text13, List1, Label34, *session_.prompter);
    column->setFixedWidth(column->fontMetrics().horizontalAdvance(QStringLiteral("000:國國國國")) * 2);
    return column;
}

QSize SaveGameEditor::sizeHint() const
{
    // The family view, the largest, is built only when first shown; until then its
    // size, in characters and lines of the window's font, is kept for it, so that
    // the window opens large enough for every view where the screen allows.
    constexpr int kFamilyViewChars = 68;
    constexpr int kFamilyViewLines = 39;
    if (!modes_)
        return QWidget::sizeHint();
    const QFontMetrics metrics = fontMetrics();
    const QSize family(metrics.horizontalAdvance(QChar(0x570B)) * kFamilyViewChars,
                       metrics.lineSpacing() * kFamilyViewLines);
    return QWidget::sizeHint() + (family - modes_->sizeHint()).expandedTo(QSize(0, 0));
}

}  // namespace varkel
