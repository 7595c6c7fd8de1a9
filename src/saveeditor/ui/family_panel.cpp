#include "saveeditor/ui/family_panel.h"

#include "person/biography.h"
#include "saveeditor/document_kinds.h"
#include "saveeditor/family_view.h"
#include "saveeditor/save_document.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/refusal.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/text_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <utility>

namespace varkel {

namespace {

const PersonControlNames kFamilyNames = {"Frame15", "Text8",  "Picture4", "Command15", "Frame22", "Option4", "Option5",
                                         "Frame18", "Check4", "Frame19",  "Label20",   "Combo5",  "Frame20", "Check3"};

// Label32 as a link: pale until the mouse is over it, red while the forecast is open.
const QColor kLinkColour(192, 192, 255);
const QColor kLinkHoverColour(0, 0, 255);
const QColor kLinkOpenColour(255, 0, 0);

// The link's colour while the forecast is closed: lit while it has the focus or the mouse.
QColor restingColour(const QLabel* link)
{
    return link->hasFocus() || link->underMouse() ? kLinkHoverColour : kLinkColour;
}

}  // namespace

FamilyPanel::FamilyPanel(Session& session, QWidget* parent)
    : QFrame(parent),
      session_(session),
      person_(session, kFamilyNames),
      random_([] { return QRandomGenerator::global()->generateDouble(); })
{
    setObjectName(QStringLiteral("Frame10(3)"));
    List4 = TextList(this, QStringLiteral("List4"));
    List4->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:國國國國")) + 40);

    auto* top = new QHBoxLayout;
    top->addWidget(buildMember());
    top->addWidget(buildOfficer(), 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(person_.buildTactics(this), 1);
    Frame21 = named(new QGroupBox(QStringLiteral("武將列傳"), this), QStringLiteral("Frame21"));
    auto* biographyColumn = new QVBoxLayout(Frame21);
    Text11 = MakeBiographyBox(QStringLiteral("Text11"), Frame21);
    biographyColumn->addWidget(Text11);
    middle->addWidget(Frame21);

    // The member scrolls in a small window; its buttons stay in sight below it.
    auto* body = new QWidget(this);
    auto* record = new QVBoxLayout(body);
    record->setContentsMargins(0, 0, 0, 0);
    record->addLayout(top);
    record->addWidget(buildNumbers());
    record->addLayout(middle);
    record->addWidget(person_.buildSkills(this));
    record->addStretch();
    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(new ScrollPane(body, this));
    right->addWidget(buildFooter());
    right->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(List4);
    layout->addLayout(right, 1);
}

std::vector<QWidget*> FamilyPanel::tabOrder() const
{
    using Group = PersonControls::Group;
    TabOrder order;
    order << List4 << person_.inReadingOrder(Group::Names) << person_.inReadingOrder(Group::Face)
          << person_.inReadingOrder(Group::Sex) << person_.inReadingOrder(Group::TacticKinds) << Label32;
    // Each ability with its cap beside it, then the growth values and the attributes.
    constexpr int kAbilities = 4;
    for (int a = 0; a < kAbilities; ++a)
        order << numberBox(indexed("Text9", a)) << numberBox(indexed("Text9", kAbilities + a));
    for (int a = 0; a < kAbilities; ++a)
        order << numberBox(indexed("Text12", a));
    for (const auto& field : FamilyFields())
        if (field.kind == FieldKind::Number && field.control.startsWith(QLatin1String("Text10(")))
            order << numberBox(field.control);
    order << Text10Age << Combo7 << person_.inReadingOrder(Group::Tactics) << Text11
          << person_.inReadingOrder(Group::Skills) << Command16 << Command7;
    return order.widgets();
}

QWidget* FamilyPanel::buildMember()
{
    // The names, then sex and tactic kinds beside them, and the face.
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    Frame15 = person_.buildNames(box);
    row->addWidget(Frame15);
    row->addWidget(person_.buildFace(box));
    connect(person_.Command1, &QPushButton::clicked, this, [this] { emit changeFaceRequested(); });
    auto* column = new QVBoxLayout;
    Frame22 = person_.buildSex(box);
    column->addWidget(Frame22);
    column->addWidget(person_.buildTacticKinds(box));
    row->addLayout(column);
    connect(person_.Option1, &QRadioButton::toggled, this, &FamilyPanel::showSexCaption);
    return box;
}

QWidget* FamilyPanel::buildOfficer()
{
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    Frame24 = named(new QGroupBox(this), QStringLiteral("Frame24"));
    auto* officer = new QVBoxLayout(Frame24);
    Picture5 = MakeFacePicture(QStringLiteral("Picture5"), Frame24);
    Label26 = named(new QLabel(Frame24), QStringLiteral("Label26"));
    Label26->setAlignment(Qt::AlignCenter);
    officer->addWidget(Picture5);
    officer->addWidget(Label26);
    row->addWidget(Frame24);

    auto* words = new QVBoxLayout;
    Label27 = named(new QLabel(box), QStringLiteral("Label27"));
    Label27->setWordWrap(true);
    Label27->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label27->setMinimumWidth(Label27->fontMetrics().horizontalAdvance(QString(12, QChar(0x570B))));
    Label32 = named(new QLabel(GetResText(Text::GrowthForecastTitle), box), QStringLiteral("Label32"));
    Label32->setCursor(Qt::PointingHandCursor);
    // Reached by Tab too: Enter or Space opens the forecast.
    Label32->setFocusPolicy(Qt::TabFocus);
    Label32->installEventFilter(this);
    setLinkColour(kLinkColour);
    words->addWidget(Label27, 1);
    words->addWidget(Label32);
    row->addLayout(words, 1);
    return box;
}

QWidget* FamilyPanel::buildNumbers()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* abilities = named(new QGroupBox(QStringLiteral("能力"), row), QStringLiteral("Frame16"));
    auto* abilityGrid = new QGridLayout(abilities);
    auto* growth = named(new QGroupBox(QStringLiteral("能力成長值"), row), QStringLiteral("Frame23"));
    auto* growthGrid = new QGridLayout(growth);
    growthGrid->addWidget(named(new QLabel(QStringLiteral("武智政魅"), growth), QStringLiteral("Label25")), 0, 0, 1, 4);
    auto* traits = named(new QGroupBox(QStringLiteral("屬性"), row), QStringLiteral("Frame17"));
    auto* traitGrid = new QGridLayout(traits);
    layout->addWidget(abilities);
    layout->addWidget(growth);
    layout->addWidget(traits, 1);

    // Abilities with their caps beside them; growth values in a row; attributes
    // four to a row, then the age and the lists.
    constexpr int kPerRow = 4;
    numbers_ = std::make_unique<NumberBoxes<FamilyMember>>(
        FamilyFields(), row, [&](const RecordField<FamilyMember>& field, QLabel* caption, QLineEdit* box) {
            const int i = IndexOfControl(field.control);
            if (field.control.startsWith(QLatin1String("Text9"))) {
                box->setParent(abilities);
                caption->setParent(abilities);
                if (i >= 4)
                    caption->setText(QStringLiteral("上限"));
                abilityGrid->addWidget(caption, i % 4, 2 * (i / 4), Qt::AlignRight);
                abilityGrid->addWidget(box, i % 4, 2 * (i / 4) + 1);
            } else if (field.control.startsWith(QLatin1String("Text12"))) {
                box->setParent(growth);
                delete caption;  // Label25 names them all
                growthGrid->addWidget(box, 1, i);
                growthGrid->setRowStretch(2, 1);
            } else {
                box->setParent(traits);
                caption->setParent(traits);
                PlaceInGrid(*traitGrid, caption, box, i, kPerRow);
            }
        });
    Text10Age = named(new QLineEdit(traits), QStringLiteral("Text10(7)"));
    Text10Age->setReadOnly(true);
    Text10Age->setFixedWidth(numberBox(QStringLiteral("Text10(5)"))->width());
    traitGrid->addWidget(new QLabel(QStringLiteral("年齡"), traits), 1, 6, Qt::AlignRight);
    traitGrid->addWidget(Text10Age, 1, 7);
    FitLifespanBox(numberBox(FamilyField(QStringLiteral("lifespan")).control));

    lists_ = std::make_unique<ChoiceLists<FamilyMember>>(FamilyFields(), TendencyKeys());
    for (std::size_t k = 0; k < Combo7.size(); ++k) {
        Combo7[k] = lists_->make(k, indexed("Combo7", int(k)), traits);
        PlaceChoiceInGrid(*traitGrid, new QLabel(lists_->field(k).label, traits), Combo7[k], int(k), 2);
    }
    return row;
}

QWidget* FamilyPanel::buildFooter()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    Command16 = named(new QPushButton(QStringLiteral("戰技全滿"), row), QStringLiteral("Command16"));
    Command7 = named(new QPushButton(QStringLiteral("應用"), row), QStringLiteral("Command7(3)"));
    connect(Command16, &QPushButton::clicked, this, [this] { person_.fillTacticsAndSkills(); });
    layout->addWidget(Command16);
    layout->addStretch();
    layout->addWidget(Command7);
    commandRow_ = layout;
    return row;
}

ModeRows FamilyPanel::listRows(const SaveDocument& document) const
{
    ModeRows rows;
    int firstNamed = -1;
    for (int k = 0; k < family::kMemberCount; ++k) {
        const QString name = ReadFullName(document.bytes(), family::record(k));
        rows.texts << NumberedItem(k, 2, name);
        if (firstNamed < 0 && !name.isEmpty())
            firstNamed = k;
    }
    rows.first = firstNamed >= 0 ? firstNamed : family::kMemberCount - 1;
    return rows;
}

void FamilyPanel::showMember(const QByteArray& save, const SaveTables& tables, int k)
{
    shownNumber_ = k;
    shown_ = DecodeFamilyMember(save, k);
    person_.showPerson(shown_.person);
    numbers_->show(shown_);
    lists_->show(shown_);
    person_.showSkills(shown_.skills);
    person_.showTactics(shown_.tactics);
    // A spouse has no caps, growth values or sex of its own to edit.
    const bool child = family::isChild(k);
    for (const auto& field : FamilyFields())
        if (field.key.endsWith(QLatin1String("_cap")) || field.key.endsWith(QLatin1String("_growth")))
            numberBox(field.control)->setEnabled(child);
    Frame22->setEnabled(child);

    const FamilyDisplay shown = DisplayFamilyMember(save, tables, k, random_);
    age_ = shown.age;
    withOfficer_ = shown.officer != save::kNoControlledOfficer;
    Text10Age->setText(QString::number(shown.age));
    if (shown.spouseFemale)
        (*shown.spouseFemale ? person_.Option2 : person_.Option1)->setChecked(true);
    Frame15->setTitle(shown.memberCaption);
    Frame24->setTitle(shown.officerCaption);
    if (shown.officer != save::kNoControlledOfficer) {
        int face = DecodePersonBlock(save, save::personBlock(shown.officer)).face;
        ShowFace(session_, Picture5, face);
        Label26->setText(tables.officerNames.value(shown.officer));
    } else {
        Picture5->clear();
        Label26->clear();
    }
    Label27->setText(shown.remark);
    biographyShown_ = family::isChild(k) && shown.biographyEnabled;
    Frame21->setEnabled(shown.biographyEnabled);
    shownBiography_ = shown.biographyEnabled ? DecodeBiography(save, family::biographyRecord(k)) : QString();
    ShowText(Text11, shownBiography_);
    editable_ = shown.editable;
    Command7->setEnabled(shown.editable);
    Label32->setVisible(shown.forecastShown);
}

void FamilyPanel::showSexCaption()
{
    if (family::isChild(shownNumber_) && withOfficer_)
        Frame15->setTitle(GetResText(person_.Option1->isChecked() ? Text::Son : Text::Daughter));
}

std::optional<FieldProblem> FamilyPanel::edit(RecordChanges& changes,
                                              NumberBoxes<FamilyMember>::Clamped* clamped) const
{
    FamilyMember r = shown_;
    if (auto problem = numbers_->collect(r, clamped))
        return problem;
    person_.readPerson(r.person);
    // A spouse is shown with the sex its officer gives it and cannot change it:
    // the stored bit stays.
    if (!family::isChild(shownNumber_))
        r.person.female = shown_.person.female;
    lists_->read(r);
    person_.readSkills(r.skills);
    FamilyField(QStringLiteral("tactics")).set(r, person_.tacticLevels(shown_.tactics));
    changes = ChangesBetween(FamilyFields(), shown_, r);
    if (biographyShown_ && Text11->toPlainText() != shownBiography_)
        changes.values[OwnFieldIndex(FamilyFields())] = FieldValue{0, Text11->toPlainText(), {}};
    return std::nullopt;
}

bool FamilyPanel::differsFrom(const DocumentKinds& kinds) const
{
    if (shownNumber_ < 0 || !editable_)
        return false;
    RecordChanges changes;
    return edit(changes) || kinds.differs(SaveRecord::Family, shownNumber_, changes);
}

bool FamilyPanel::applyShown(DocumentKinds& kinds)
{
    const int k = shownNumber_;
    if (k < 0)
        return false;
    RecordChanges changes;
    NumberBoxes<FamilyMember>::Clamped clamped;
    auto problem = edit(changes, &clamped);
    if (!problem)
        problem = kinds.write(SaveRecord::Family, k, changes);
    if (problem) {
        ShowRefusal(*session_.prompter, *this, *numbers_, *problem);
        return false;
    }
    numbers_->showClamped(clamped);
    const QByteArray& save = kinds.document().bytes();
    shown_ = DecodeFamilyMember(save, k);
    if (biographyShown_)
        shownBiography_ = DecodeBiography(save, family::biographyRecord(k));
    List4->item(k)->setText(NumberedItem(k, 2, shown_.person.fullName));
    return true;
}

void FamilyPanel::chooseFace(const Picker& picker, QWidget* parent)
{
    person_.chooseFace(picker, parent);
}

void FamilyPanel::setForecastOpen(bool open)
{
    forecastOpen_ = open;
    setLinkColour(open ? kLinkOpenColour : restingColour(Label32));
}

void FamilyPanel::setLinkColour(const QColor& colour)
{
    QPalette palette = Label32->palette();
    palette.setColor(QPalette::WindowText, colour);
    Label32->setPalette(palette);
}

bool FamilyPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label32 && !forecastOpen_) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::FocusIn:
            setLinkColour(kLinkHoverColour);
            break;
        case QEvent::Leave:
        case QEvent::FocusOut:
            setLinkColour(restingColour(Label32));
            break;
        // A click opens it, as a link does; the double click that used to be
        // needed opens it once: by its first click, or by itself where no
        // release came between (the release that ends it opens nothing).
        case QEvent::MouseButtonPress:
            clickOpened_ = false;
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool onLink = Label32->rect().contains(mouse->position().toPoint());
            const bool endsDoubleClick = std::exchange(releaseOfDoubleClick_, false);
            if (mouse->button() == Qt::LeftButton && onLink && !endsDoubleClick) {
                clickOpened_ = true;
                emit forecastRequested();
            }
            return true;
        }
        case QEvent::MouseButtonDblClick:
            if (!std::exchange(clickOpened_, false))
                emit forecastRequested();
            releaseOfDoubleClick_ = true;
            return true;
        case QEvent::KeyPress:
            if (const int key = static_cast<QKeyEvent*>(event)->key();
                key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                emit forecastRequested();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FamilyPanel::showRecord(const SaveDocument& document, int row)
{
    showMember(document.bytes(), document.tables(), row);
}

}  // namespace varkel
