#include "neweditor/ui/new_officer_editor.h"

#include "neweditor/new_officer_fields.h"
#include "shared/game_folder.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/officer_search_box.h"
#include "shared/ui/outside_change.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/pickers.h"
#include "shared/ui/save_as.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/refusal.h"
#include "shared/ui/text_list.h"
#include "shared/ui/unlike_file.h"
#include "shared/ui/window_geometry.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <span>

namespace varkel {

namespace {

constexpr int kSearchLength = 4;

struct SystemSaveFiles {
    SystemSave file;
    BiographyFile biographies;
};

// The system save at `path` and the game folder's biographies, read to be opened.
// Refusals are said (text 254 for a file of the wrong size), and a file unlike a
// system save is asked about first; none when they are not to be opened.
std::optional<SystemSaveFiles> ReadToOpen(Session& session, const QString& path)
{
    SystemSaveFiles read;
    RuntimeError error;
    if (const auto refusal = read.file.open(session.files, path, &error); refusal != FileBuffer::Refusal::None) {
        if (refusal == FileBuffer::Refusal::WrongSize)
            session.prompter->tell(GetResText(Text::FileDamaged), kErrorTitle, MessageIcon::Critical);
        else
            ShowRuntimeError(*session.prompter, error);
        return std::nullopt;
    }
    if (!MayOpenUnlikeFile(*session.prompter, SystemSave::shapeProblems(read.file.bytes), kUnlikeSystemSaveQuestion))
        return std::nullopt;
    if (const auto failure = read.biographies.open(session.files, session.gameFolder)) {
        ShowRuntimeError(*session.prompter, *failure);
        return std::nullopt;
    }
    return read;
}

}  // namespace

NewOfficerEditor* NewOfficerEditor::open(Session& session, const QString& path)
{
    // "No" to an unlike file leaves the window closed.
    auto read = ReadToOpen(session, path.isEmpty() ? SystemSave::defaultPath(session.gameFolder) : path);
    return read ? new NewOfficerEditor(session, std::move(read->file), std::move(read->biographies)) : nullptr;
}

NewOfficerEditor::NewOfficerEditor(Session& session, SystemSave file, BiographyFile biographies)
    : QWidget(nullptr, Qt::Window),
      session_(session),
      document_(new SystemSaveDocument(std::move(file), std::move(biographies), this)),
      person_(session),
      picker_(ProgramPickers(session))
{
    setObjectName(QStringLiteral("Form1"));
    state_ = new EditState(*this, *document_, GetResText(Text::EditorTitle));
    useFileCommands();

    auto* bar = new QMenuBar(this);
    buildMenus(bar);
    Label5 = named(new QLabel(this), QStringLiteral("Label5"));
    Label5->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* body = new QHBoxLayout;
    body->addLayout(buildList());
    body->addWidget(buildRecord(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(Label5);
    layout->addLayout(body, 1);
    layout->addWidget(state_->statusLine());

    connect(document_, &Document::stateChanged, this, &NewOfficerEditor::updateSaveCommands);
    // Save is offered for edits typed but not yet applied too: it asks about them.
    WatchUserEdits(*this, [this] { updateSaveCommands(); });
    connect(document_, &Document::changed, this, &NewOfficerEditor::documentChanged);
    orderTabs();
    showOpenedFile();
    KeepWindowGeometry(*this, session_);
}

NewOfficerEditor::~NewOfficerEditor() = default;

void NewOfficerEditor::useFileCommands()
{
    EditorFile opened;
    opened.label = GetResText(Text::NewOfficerFileLabel);
    opened.pattern = kFilePattern;
    opened.path = [this] { return document_->path(); };
    opened.modified = [this] { return modified(); };
    opened.pending = [this] { return records_->pendingEdits(); };
    opened.open = [this](const QString& path) { return openChosen(path); };
    opened.write = [this] {
        return writeBothFiles(document_->path(), [this] { return document_->saveSystemSave(session_.files); });
    };
    opened.writeAs = [this](const QString& path) {
        return writeBothFiles(path, [this, &path] {
            const auto failure = document_->saveSystemSaveAs(session_.files, path);
            if (!failure)
                Label5->setText(GetResText(Text::FileLocation) + QDir::toNativeSeparators(document_->path()));
            return failure;
        });
    };
    files_ = std::make_unique<FileCommands>(session_, *state_, std::move(opened));
}

void NewOfficerEditor::buildMenus(QMenuBar* bar)
{
    QMenu* sFile = bar->addMenu(QStringLiteral("文件(&F)"));
    sFile->setObjectName(QStringLiteral("sFile"));
    sOpenfile = named(sFile->addAction(QStringLiteral("打開(&O)"), this, [this] { files_->open(); }),
                      QStringLiteral("sOpenfile"));
    sSavefile = named(sFile->addAction(QStringLiteral("保存(&S)"), this, [this] { files_->save(); }),
                      QStringLiteral("sSavefile"));
    sSaveAs = named(sFile->addAction(QStringLiteral("另存為(&A)"), this, [this] { files_->saveAs(); }),
                    QStringLiteral("sSaveAs"));
    sFile->addSeparator();
    sExit = named(sFile->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close), QStringLiteral("sExit"));
    QMenu* sEdit = bar->addMenu(QStringLiteral("編輯(&E)"));
    sEdit->setObjectName(QStringLiteral("sEdit"));
    sEdit->addAction(state_->undoAction());
    sEdit->addAction(state_->redoAction());
    QMenu* sHelp = bar->addMenu(QStringLiteral("幫助(&H)"));
    sHelp->setObjectName(QStringLiteral("sHelp"));
    QAction* sAbout = named(sHelp->addAction(QStringLiteral("關于..."), this,
                                             [this] {
                                                 if (showAbout_)
                                                     showAbout_();
                                             }),
                            QStringLiteral("sAbout"));
    UseStandardKeys({sOpenfile, sSavefile, sSaveAs, sExit, sAbout});
}

QBoxLayout* NewOfficerEditor::buildList()
{
    auto* side = new QVBoxLayout;
    List1 = TextList(this, QStringLiteral("List1"));
    List1->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:國國國國")) * 2);
    records_ = new RecordList(*List1, *session_.prompter,
                              {[this](int i) { fillView(i); }, [this] { return viewDiffersFromShown(); },
                               [this](int i) { return store(i); }},
                              this);
    auto* searchRow = new QHBoxLayout;
    Text5 = named(new QLineEdit(this), QStringLiteral("Text5"));
    Text5->setMaxLength(kSearchLength);
    Label7 = named(new QLabel(this), QStringLiteral("Label7"));
    Label7->setMinimumWidth(Label7->fontMetrics().horizontalAdvance(GetResText(Text::SearchByName)) + 4);
    searchRow->addWidget(Text5);
    searchRow->addWidget(Label7);
    search_ = new OfficerSearchBox(Text5, List1, Label7, *session_.prompter, system_save::kFirstOfficerNumber);
    side->addWidget(List1, 1);
    side->addLayout(searchRow);
    return side;
}

QWidget* NewOfficerEditor::buildRecord()
{
    auto* record = new QWidget(this);
    auto* top = new QHBoxLayout;
    top->addWidget(person_.buildNames(record));
    top->addWidget(person_.buildFace(record));
    connect(person_.Command1, &QPushButton::clicked, this, [this] { person_.chooseFace(picker_, this); });
    auto* sexAndKinds = new QVBoxLayout;
    sexAndKinds->addWidget(person_.buildSex(record));
    sexAndKinds->addWidget(person_.buildTacticKinds(record));
    top->addLayout(sexAndKinds);
    top->addStretch();

    auto* biography = named(new QGroupBox(QStringLiteral("武將列傳"), record), QStringLiteral("Frame8"));
    auto* biographyColumn = new QVBoxLayout(biography);
    Text4 = MakeBiographyBox(QStringLiteral("Text4"), biography);
    biographyColumn->addWidget(Text4);

    auto* middle = new QHBoxLayout;
    middle->addWidget(person_.buildTactics(record), 1);
    middle->addWidget(biography);

    auto* buttons = new QHBoxLayout;
    Command4 = named(new QPushButton(QStringLiteral("戰技全滿"), record), QStringLiteral("Command4"));
    Command2 = named(new QPushButton(QStringLiteral("應用"), record), QStringLiteral("Command2"));
    Command3 = named(new QPushButton(QStringLiteral("保存"), record), QStringLiteral("Command3"));
    connect(Command4, &QPushButton::clicked, this, [this] { person_.fillTacticsAndSkills(); });
    connect(Command2, &QPushButton::clicked, records_, &RecordList::applySelected);
    UseApplyKeys(*this, Command2);
    connect(Command3, &QPushButton::clicked, this, [this] { files_->save(); });
    buttons->addWidget(Command4);
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);

    auto* column = new QVBoxLayout(record);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(top);
    column->addWidget(buildNumbers(record));
    column->addLayout(middle);
    column->addWidget(person_.buildSkills(record));
    column->addStretch();
    // The record scrolls in a small window; its buttons stay in sight below it.
    auto* view = new QWidget(this);
    auto* viewColumn = new QVBoxLayout(view);
    viewColumn->setContentsMargins(0, 0, 0, 0);
    viewColumn->addWidget(new ScrollPane(record, view));
    viewColumn->addLayout(buttons);
    viewColumn->addStretch(1);
    return view;
}

QWidget* NewOfficerEditor::buildNumbers(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* abilities = named(new QGroupBox(QStringLiteral("能力"), row), QStringLiteral("Frame2"));
    auto* abilityGrid = new QGridLayout(abilities);
    auto* traits = named(new QGroupBox(QStringLiteral("屬性"), row), QStringLiteral("Frame3"));
    auto* traitGrid = new QGridLayout(traits);
    auto* life = named(new QGroupBox(QStringLiteral("生卒"), row), QStringLiteral("Frame7"));
    auto* lifeGrid = new QGridLayout(life);
    layout->addWidget(abilities);
    layout->addWidget(traits, 1);
    layout->addWidget(life);

    // Every number box comes from the field table: name, caption and input length.
    constexpr int kPerRow = 4;
    numbers_ = std::make_unique<NumberBoxes<MemberRecord>>(
        NewOfficerFields(), row, [&](const RecordField<MemberRecord>& field, QLabel* caption, QLineEdit* box) {
            const int i = IndexOfControl(field.control);
            QWidget* group = traits;
            if (field.control.startsWith(QLatin1String("Text2"))) {
                group = abilities;
                Text2[i] = box;
                PlaceInGrid(*abilityGrid, caption, box, i, 2);
            } else if (Text3[i] = box; i >= 8) {  // birth year and lifespan
                group = life;
                PlaceInGrid(*lifeGrid, caption, box, i - 8, 1);
            } else {
                PlaceInGrid(*traitGrid, caption, box, i, kPerRow);
            }
            box->setParent(group);
            caption->setParent(group);
        });
    FitLifespanBox(Text3[9]);
    // The years allowed go under the boxes: beside them the row was wider than a 1024-pixel screen.
    auto* hint = named(new QLabel(QStringLiteral("(公元150年-250年)"), life), QStringLiteral("Label6"));
    lifeGrid->addWidget(hint, 2, 0, 1, 2);
    lifeGrid->setRowStretch(3, 1);

    lists_ = std::make_unique<ChoiceLists<MemberRecord>>(NewOfficerFields(), TendencyKeys());
    for (int k = 0; k < 5; ++k) {
        Combo[k] = lists_->make(std::size_t(k), QStringLiteral("Combo%1").arg(k + 1), traits);
        auto* caption = named(new QLabel(lists_->field(std::size_t(k)).label, traits), indexed("Label3", 10 + k));
        PlaceChoiceInGrid(*traitGrid, caption, Combo[k], k, 2);
    }
    return row;
}

void NewOfficerEditor::orderTabs()
{
    using Group = PersonControls::Group;
    TabOrder order;
    order << List1 << Text5 << person_.inReadingOrder(Group::Names) << person_.inReadingOrder(Group::Face)
          << person_.inReadingOrder(Group::Sex) << person_.inReadingOrder(Group::TacticKinds) << Text2;
    // The attributes, their lists below them, then birth year and lifespan (Text3(8) and Text3(9)).
    constexpr std::size_t kAttributeBoxes = 8;
    order << std::span(Text3).first(kAttributeBoxes) << Combo << std::span(Text3).subspan(kAttributeBoxes)
          << person_.inReadingOrder(Group::Tactics) << Text4 << person_.inReadingOrder(Group::Skills) << Command4
          << Command2 << Command3;
    order.apply();
}

bool NewOfficerEditor::modified() const
{
    return document_->anyModified();
}

void NewOfficerEditor::updateSaveCommands()
{
    const bool on = modified() || viewDiffers();
    Command3->setEnabled(on);
    sSavefile->setEnabled(on);
    sSaveAs->setEnabled(on);
}

void NewOfficerEditor::showOpenedFile()
{
    state_->opened();
    updateSaveCommands();
    showFile(0);
}

void NewOfficerEditor::documentChanged(const DocumentChange& change)
{
    switch (change.cause) {
    case DocumentChange::Cause::Open:
        showOpenedFile();
        break;
    case DocumentChange::Cause::Undo:
    case DocumentChange::Cause::Redo:
    case DocumentChange::Cause::Batch:
        // The record that was shown, as it is now.
        showFile(std::max(0, shownRecord()));
        break;
    case DocumentChange::Cause::Apply:
        // A new name shows in the list and the officer picker.
        for (const int i : change.records)
            List1->item(i)->setText(nameOfficer(i));
        break;
    }
}

void NewOfficerEditor::showFile(int row)
{
    Label5->setText(GetResText(Text::FileLocation) + QDir::toNativeSeparators(document_->path()));
    QStringList rows;
    for (int i = 0; i < system_save::kRecordCount; ++i)
        rows << nameOfficer(i);
    // The officer picker lists every officer up to the last new one.
    session_.officerCount = SystemSave::officerNumber(system_save::kRecordCount);
    // Read afresh: nothing shown before is left to ask about.
    records_->setRows(rows, row);
}

QString NewOfficerEditor::nameOfficer(int i)
{
    const int number = SystemSave::officerNumber(i);
    const QString name = systemSave().officerName(i);
    session_.officerNames[number] = name;
    return QStringLiteral("%1:%2").arg(number).arg(name);
}

void NewOfficerEditor::fillView(int i)
{
    const MemberRecord r = systemSave().officer(i);
    shown_ = r;
    person_.showPerson(r.person);
    numbers_->show(r);
    lists_->show(r);
    person_.showSkills(r.skills);
    person_.showTactics(r.tactics);
    shownBiography_ = biographies().biography(i);
    ShowText(Text4, shownBiography_);
}

std::optional<FieldProblem> NewOfficerEditor::edit(RecordChanges& changes,
                                                   NumberBoxes<MemberRecord>::Clamped* clamped) const
{
    MemberRecord r = shown_;
    if (auto problem = numbers_->collect(r, clamped))
        return problem;
    person_.readPerson(r.person);
    lists_->read(r);
    person_.readSkills(r.skills);
    NewOfficerField(QStringLiteral("tactics")).set(r, person_.tacticLevels(shown_.tactics));
    changes = ChangesBetween(NewOfficerFields(), shown_, r);
    if (Text4->toPlainText() != shownBiography_)
        changes.values[OwnFieldIndex(NewOfficerFields())] = FieldValue{0, Text4->toPlainText(), {}};
    return std::nullopt;
}

bool NewOfficerEditor::store(int i)
{
    RecordChanges changes;
    NumberBoxes<MemberRecord>::Clamped clamped;
    auto problem = edit(changes, &clamped);
    // The biography and the record are one undo step: a refused biography stores neither.
    if (!problem)
        problem = document_->write(i, changes);
    if (problem) {
        ShowRefusal(*session_.prompter, *this, *numbers_, *problem);
        return false;
    }
    numbers_->showClamped(clamped);
    shown_ = systemSave().officer(i);
    shownBiography_ = biographies().biography(i);
    return true;
}

bool NewOfficerEditor::viewDiffersFromShown() const
{
    RecordChanges changes;
    return edit(changes) || document_->differs(shownRecord(), changes);
}

bool NewOfficerEditor::biographiesMayBeWritten()
{
    // The game's own text file keeps its place: no other name is offered.
    return AskAboutOutsideChange(session_, biographies().path, false) == OutsideChange::Overwrite;
}

bool NewOfficerEditor::writeBothFiles(const QString& path,
                                      const std::function<std::optional<RuntimeError>()>& writeSystemSave)
{
    if (!biographiesMayBeWritten())
        return false;
    // A failure is reported and leaves the changes of the file not written unsaved,
    // so nothing is lost.
    if (const auto failure = writeSystemSave()) {
        ReportSaveFailure(session_, *state_, path, *failure);
        return false;
    }
    if (const auto failure = document_->saveBiographies(session_.files)) {
        state_->saved({document_->path()}, session_.files);
        ReportSaveFailure(session_, *state_, biographies().path, *failure);
        return false;
    }
    state_->saved({document_->path(), biographies().path}, session_.files);
    return true;
}

void NewOfficerEditor::openPath(const QString& path)
{
    files_->openPath(path);
}

bool NewOfficerEditor::openChosen(const QString& path)
{
    // Both files are read again, so that changes the user chose not to save are
    // gone from the biographies too; when either cannot be read nothing changes.
    auto read = ReadToOpen(session_, path);
    if (read)
        document_->open(std::move(read->file), std::move(read->biographies));
    return read.has_value();
}

void NewOfficerEditor::closeEvent(QCloseEvent* event)
{
    // Edits not yet applied first: applying them leaves changes to save.
    if (files_->mayClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace varkel
