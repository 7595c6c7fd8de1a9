#include "saveeditor/ui/relation_panel.h"

#include "saveeditor/document_kinds.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_layout.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/scroll_pane.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/text_list.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace varkel {

namespace {

constexpr int kParties = 3;
constexpr int kThirdParty = 2;
const std::array<const char*, kParties> kPartyCaptions = {"甲方", "乙方", "第三者"};

int& partyOf(Relation& r, int p)
{
    return p == 0 ? r.a : p == 1 ? r.b : r.c;
}

}  // namespace

RelationPanel::RelationPanel(Session& session, QWidget* parent) : QFrame(parent), session_(session)
{
    setObjectName(QStringLiteral("Frame10(2)"));
    List3 = TextList(this, QStringLiteral("List3"));
    List3->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:國國國國國──　國國國國國國國國")) + 40);

    auto* parties = new QHBoxLayout;
    for (int p = 0; p < kParties; ++p)
        parties->addWidget(buildParty(p));
    parties->addStretch();

    auto* kind = named(new QGroupBox(QStringLiteral("關系"), this), QStringLiteral("Frame28"));
    auto* kindRow = new QHBoxLayout(kind);
    Combo4 = named(new QComboBox(kind), QStringLiteral("Combo4"));
    FillList(Combo4, RelationKindItems());
    kindRow->addWidget(Combo4);
    connect(Combo4, &QComboBox::currentIndexChanged, this, &RelationPanel::relationKindChosen);

    auto* buttons = new QHBoxLayout;
    Command7 = named(new QPushButton(QStringLiteral("應用"), this), QStringLiteral("Command7(2)"));
    buttons->addStretch();
    buttons->addWidget(Command7);
    commandRow_ = buttons;

    auto* body = new QWidget(this);
    auto* right = new QVBoxLayout(body);
    right->setContentsMargins(0, 0, 0, 0);
    right->addLayout(parties);
    right->addWidget(kind, 0, Qt::AlignLeft);
    right->addStretch();
    // The relationship scrolls in a small window; Apply stays in sight below it.
    auto* column = new QVBoxLayout;
    column->addWidget(new ScrollPane(body, this), 1);
    column->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(List3);
    layout->addLayout(column, 1);
}

std::vector<QWidget*> RelationPanel::tabOrder() const
{
    TabOrder order;
    order << List3 << Command12 << Combo4 << Command7;
    return order.widgets();
}

QWidget* RelationPanel::buildParty(int p)
{
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    // The speech bubble above the party, shown while the mouse is over its face.
    Frame29[p] = named(new QFrame(column), indexed("Frame29", p));
    Frame29[p]->setFrameShape(QFrame::StyledPanel);
    auto* bubble = new QHBoxLayout(Frame29[p]);
    Label33[p] = named(new QLabel(Frame29[p]), indexed("Label33", p));
    bubble->addWidget(Label33[p]);
    Frame29[p]->setFixedHeight(Label33[p]->fontMetrics().height() + 16);
    Frame29[p]->setMinimumWidth(Label33[p]->fontMetrics().horizontalAdvance(QString(6, QChar(0x570B))));
    Frame29[p]->hide();
    // The bubble's place stays when it is hidden, so the frames below do not move.
    QSizePolicy keep = Frame29[p]->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Frame29[p]->setSizePolicy(keep);

    Frame11[p] = named(new QGroupBox(QString::fromUtf8(kPartyCaptions[std::size_t(p)]), column), indexed("Frame11", p));
    auto* party = new QVBoxLayout(Frame11[p]);
    Picture3[p] = MakeFacePicture(indexed("Picture3", p), Frame11[p]);
    Picture3[p]->installEventFilter(this);
    Label19[p] = named(new QLabel(Frame11[p]), indexed("Label19", p));
    Label19[p]->setAlignment(Qt::AlignCenter);
    Command12[p] = named(new QPushButton(QStringLiteral("改變"), Frame11[p]), indexed("Command12", p));
    connect(Command12[p], &QPushButton::clicked, this, [this, p] { emit changePartyRequested(p); });
    party->addWidget(Picture3[p], 0, Qt::AlignCenter);
    party->addWidget(Label19[p]);
    party->addWidget(Command12[p]);

    layout->addWidget(Frame29[p]);
    layout->addWidget(Frame11[p]);
    return column;
}

ModeRows RelationPanel::listRows(const SaveDocument& document) const
{
    const SaveTables& tables = document.tables();
    ModeRows rows;
    for (int i = 0; i < relation::kCount; ++i)
        rows.texts << RelationRowText(i, DecodeRelation(document.bytes(), tables.officerCount, i), tables.officerNames);
    return rows;
}

void RelationPanel::showRelation(const QByteArray& save, const SaveTables& tables, int i)
{
    shown_ = DecodeRelation(save, tables.officerCount, i);
    current_ = shown_;
    shownRelation_ = i;
    // Faces only when both sides are officers of the save; the third party's only
    // for a feud.
    const bool faces = current_.a < tables.officerCount && current_.b < tables.officerCount;
    for (int p = 0; p < kParties; ++p)
        showParty(save, tables, p, faces && (p < kThirdParty || current_.kind == relation::kFeud));
    const QSignalBlocker block(Combo4);
    Combo4->setCurrentIndex(current_.kind);
    relationKindChosen(current_.kind);
}

void RelationPanel::showParty(const QByteArray& save, const SaveTables& tables, int p, bool withFace)
{
    const int officer = partyOf(current_, p);
    // A party outside the save's officers has no person block to show: no face, no name.
    const bool inSave = officer >= 0 && officer < tables.officerCount;
    // One outside shows its stored number, which Apply keeps.
    Label19[p]->setText(inSave                          ? PartyName(tables.officerNames, officer)
                        : officer != relation::kNoParty ? QString::number(officer)
                                                        : QString());
    if (withFace && inSave) {
        int face = DecodePersonBlock(save, save::personBlock(officer)).face;
        ShowFace(session_, Picture3[p], face);
    } else {
        Picture3[p]->clear();
    }
}

void RelationPanel::relationKindChosen(int kind)
{
    Command12[kThirdParty]->setEnabled(kind == relation::kFeud);
    current_.kind = kind;
}

void RelationPanel::setParty(const QByteArray& save, const SaveTables& tables, int p, int officer)
{
    const bool named = officer >= 0 && officer < tables.officerCount &&
                       !PartyName(tables.officerNames, officer).isEmpty();
    partyOf(current_, p) = named ? officer : relation::kNoParty;
    showParty(save, tables, p, named);
}

void RelationPanel::showSpeech(int p, bool on)
{
    const bool speaks = on && !Label19[p]->text().isEmpty() && current_.kind != relation::kNone &&
                        (p < kThirdParty || current_.kind == relation::kFeud);
    Label33[p]->setText(speaks ? RelationSpeech(current_.kind, p) : QString());
    QFont font = Label19[p]->font();
    font.setBold(speaks);
    Label19[p]->setFont(font);
    QPalette palette = Label19[p]->palette();
    palette.setColor(QPalette::WindowText, speaks ? QColor(0, 0, 255) : this->palette().color(QPalette::WindowText));
    Label19[p]->setPalette(palette);
    Frame29[p]->setVisible(speaks);
}

bool RelationPanel::eventFilter(QObject* watched, QEvent* event)
{
    for (int p = 0; p < kParties; ++p) {
        if (watched != Picture3[p])
            continue;
        if (event->type() == QEvent::Enter)
            showSpeech(p, true);
        else if (event->type() == QEvent::Leave)
            showSpeech(p, false);
    }
    return QFrame::eventFilter(watched, event);
}

RecordChanges RelationPanel::edit() const
{
    // A relationship left without a kind or one of its two parties is stored
    // empty: the view clears it whole, as the file keeps it.
    const bool cleared = current_ != shown_ && StoresEmpty(current_);
    return ChangesBetween(RelationFields(), shown_, cleared ? Relation{} : current_);
}

bool RelationPanel::differsFrom(const DocumentKinds& kinds) const
{
    return shownRelation_ >= 0 && kinds.differs(SaveRecord::Relation, shownRelation_, edit());
}

bool RelationPanel::applyShown(DocumentKinds& kinds)
{
    const int i = shownRelation_;
    if (i < 0)
        return false;
    if (const auto problem = kinds.write(SaveRecord::Relation, i, edit())) {
        session_.prompter->tell(problem->shown(), kErrorTitle, MessageIcon::Critical);
        return false;
    }
    // The record as stored: a relationship without a type or a party is stored empty.
    const SaveDocument& document = kinds.document();
    showRelation(document.bytes(), document.tables(), i);
    List3->item(i)->setText(StoredRelationRowText(i, shown_, document.tables().officerNames));
    return true;
}

void RelationPanel::showRecord(const SaveDocument& document, int row)
{
    showRelation(document.bytes(), document.tables(), row);
}

}  // namespace varkel
