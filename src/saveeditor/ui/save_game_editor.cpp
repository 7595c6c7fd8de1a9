#include "saveeditor/ui/save_game_editor.h"

#include "saveeditor/ui/document_follower.h"
#include "saveeditor/ui/officer_control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/problems_window.h"
#include "saveeditor/ui/save_file_commands.h"
#include "saveeditor/ui/save_reading.h"
#include "saveeditor/ui/scenario_commands.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/file_drop.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/record_list.h"
#include "shared/ui/when_shown.h"
#include "shared/ui/window_geometry.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

namespace varkel {

SaveGameEditor* SaveGameEditor::open(Session& session, const QString& path)
{
    auto save = path.isEmpty() ? ReadNewestSave(session)
                               : ReadSaveToOpen(session, path, save::kOpenMinimumSize, Text::FileDamaged);
    if (!save)
        return nullptr;
    auto scenario = ReadScenarioToOpen(session);
    return scenario ? new SaveGameEditor(session, std::move(*save), std::move(*scenario)) : nullptr;
}

SaveGameEditor::SaveGameEditor(Session& session, SaveGame save, ScenarioData scenario)
    : QWidget(nullptr, Qt::Window),
      session_(session),
      document_(new SaveDocument(std::move(save), std::move(scenario), ScenarioFilePath(session.gameFolder), this)),
      picker_(ProgramPickers(session)),
      random_([] { return QRandomGenerator::global()->generateDouble(); })
{
    setObjectName(QStringLiteral("Form4"));
    state_ = new EditState(*this, *document_, GetResText(Text::EditorTitle));
    useFileCommands();
    scenarioCommands_ = std::make_unique<ScenarioCommands>(session_, *document_, *state_);
    sides_ = std::make_unique<SideWindows>(*this, [this] { follower_->reloadViews(); });
    modes_ = new EditorModes(*this);
    connect(modes_, &EditorModes::edited, this, &SaveGameEditor::updateSaveCommands);
    connect(modes_, &EditorModes::saveRequested, this, [this] { files_->save(); });
    connect(modes_, &EditorModes::shown, this, [this](int mode) { column_->Label34->setVisible(mode == 0); });

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    menus_ = new SaveEditorMenus(*this, *bar);
    state_->setSaveAction(menus_->tSaveFile);
    layout->setMenuBar(bar);
    layout->addWidget(buildModeRow());
    auto* body = new QHBoxLayout;
    column_ = new OfficerColumn(*session_.prompter, this);
    control_ = std::make_unique<OfficerControl>(*this, *column_->Combo10, *column_->Frame26);
    body->addWidget(column_);
    body->addWidget(modes_->buildViews(), 1);
    modes_->officerPanel()->setCityNames(document_->scenario().cityNames);
    layout->addLayout(body, 1);
    problemsNote = new ProblemsNote(*state_->statusLine(), [this] { sides_->openProblems(); });
    layout->addWidget(state_->statusLine());

    connect(document_, &Document::stateChanged, this, &SaveGameEditor::updateSaveCommands);
    follower_ = new DocumentFollower(*this);
    connect(document_, &Document::changed, this, [this](const DocumentChange& change) {
        if (change.cause == DocumentChange::Cause::Open)
            showOpenedSave();
    });
    // Enter and Ctrl+Enter apply the view shown.
    UseApplyKeys(*this, [this] { return modes_->Command7[std::size_t(modes_->current())]; });
    showOpenedSave();
    AcceptFileDrops(*this, [this](const QString& path) { openPath(path); });
    KeepWindowGeometry(*this, session_);
}

SaveGameEditor::~SaveGameEditor() = default;

bool SaveGameEditor::modified() const
{
    return document_->modified(SaveDocument::kSaveBuffer);
}

void SaveGameEditor::updateSaveCommands()
{
    const bool on = modified() || viewHoldsEdits();
    for (QPushButton* save : modes_->Command8)
        save->setEnabled(on);
    menus_->tSaveFile->setEnabled(on);
    menus_->tSaveAs->setEnabled(on);
    if (TreasurePanel* treasures = modes_->treasurePanelIfBuilt())
        treasures->Command13->setEnabled(document_->modified(SaveDocument::kScenarioBuffer));
}

void SaveGameEditor::showOpenedSave()
{
    // The views are filled from the new file: nothing typed is left to ask about.
    const auto quiet = modes_->whileFilling();
    showFilePlace();
    state_->opened();
    follower_->showTables();
    updateSaveCommands();
    modes_->showOpened();
    // Counting the problems reads every record: the window is shown first.
    WhenShown([editor = QPointer<SaveGameEditor>(this)] {
        if (editor)
            editor->follower_->countProblems();
    });
}

PendingEdits SaveGameEditor::pendingEdits()
{
    if (sides_->running())
        return sides_->runningEdits();
    return modes_->pendingEdits();
}

bool SaveGameEditor::mayLeaveRecord()
{
    return files_->mayLeaveRecord();
}

bool SaveGameEditor::viewHoldsEdits()
{
    return !sides_->running() && modes_->viewHoldsEdits();
}

DocumentKinds& SaveGameEditor::documentKinds()
{
    if (!kinds_)
        kinds_ = std::make_unique<DocumentKinds>(*document_, scenarioCommands_->notes());
    return *kinds_;
}

void SaveGameEditor::showRecordOf(SaveRecord kind, int n)
{
    modes_->showRecordOf(kind, n);
    raise();
    activateWindow();
}

void SaveGameEditor::showOfficer(int n)
{
    modes_->records(0).show(n);
}

void SaveGameEditor::closeEvent(QCloseEvent* event)
{
    // Treasure attributes applied but not written would be lost with the window.
    if (files_->mayClose([this] { return scenarioCommands_->mayClose(); }))
        event->accept();
    else
        event->ignore();
}

SaveKindsContext SaveGameEditor::kindsContext() const
{
    return {scenario().cityNames, scenario().courtRanks, scenarioCommands_->notes(), std::nullopt, false};
}

void SaveGameEditor::setSideWindowRunner(std::function<void(QDialog&)> run)
{
    sides_->setRunner(std::move(run));
}

void SaveGameEditor::setAboutView(std::function<void()> showAbout)
{
    menus_->setAboutView(std::move(showAbout));
}

void SaveGameEditor::setRandomSource(std::function<double()> random)
{
    random_ = std::move(random);
    modes_->setRandomSource(random_);
}

void SaveGameEditor::useFileCommands()
{
    files_ = std::make_unique<FileCommands>(
        session_, *state_,
        SaveGameFile(session_, *document_, *state_, [this] { return pendingEdits(); }, [this] { showFilePlace(); }));
}

void SaveGameEditor::showFilePlace()
{
    Label28->setText(GetResText(Text::FileLocation) + QDir::toNativeSeparators(document_->path()));
    menus_->tickSlot(SaveGame::slotOf(document_->path(), session_.gameFolder));
}

void SaveGameEditor::openPath(const QString& path)
{
    files_->openPath(path);
}

void SaveGameEditor::openSlot(int k)
{
    // The tick follows the open file whatever happens below.
    showFilePlace();
    files_->openWith([this, k] {
        return OpenSaveOver(session_, *document_, SaveGame::slotPath(session_.gameFolder, k), save::kSlotMinimumSize,
                            Text::SlotNotFound);
    });
}

QWidget* SaveGameEditor::buildModeRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    modes_->addButtons(*layout);
    layout->addSpacing(24);
    Label28 = new QLabel(row);
    Label28->setObjectName(QStringLiteral("Label28"));
    // A long path must not widen the window.
    Label28->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(Label28, 1);
    return row;
}

QSize SaveGameEditor::sizeHint() const
{
    return QWidget::sizeHint() + (modes_ ? modes_->unbuiltRoom() : QSize());
}

}  // namespace varkel
