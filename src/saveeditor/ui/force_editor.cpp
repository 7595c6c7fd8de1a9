#include "saveeditor/ui/force_editor.h"

#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/combo_values.h"
#include "shared/ui/control_names.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace varkel {

using namespace force;

namespace {

constexpr int kNameWidth = 4;  // of the longest state name, in characters
constexpr int kTroopColumns = 3;

}  // namespace

ForceEditor::ForceEditor(Prompter& prompter, SaveDocument& document, const QStringList& courtRanks, QWidget* parent)
    : RecordListEditor(prompter, document, parent), kinds_(document, {}), save_(document.bytes()),
      flags_(ForceFields(), this)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(GetResText(Text::ForceEditorTitle));

    // A row per force that has a leader.
    for (int s = 0; s < kCount; ++s) {
        if (!document.tables().forceNames.value(s).isEmpty())
            addRow(s, document.tables().forceNames[s]);
    }
    fitList(kNameWidth);
    Frame3 = buildForceInfo(courtRanks);
    Frame1 = buildFlagFrame(QStringLiteral("兵種"), QStringLiteral("Frame1"), "Check1", Check1);
    Frame2 = buildFlagFrame(QStringLiteral("器械"), QStringLiteral("Frame2"), "Check2", Check2);

    const Buttons buttons = layOut({Frame3, Frame1, Frame2}, QStringLiteral("Command1"), QStringLiteral("Command2"));
    Command1 = buttons.apply;
    Command2 = buttons.exit;

    TabOrder order;
    order << List1 << Text1 << Combo1 << Combo2 << Check1 << Check2 << tableButton << Command1 << Command2;
    order.apply();

    const bool any = List1->count() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{Frame3, Frame1, Frame2, Command1})
        w->setEnabled(any);
    if (any)
        List1->setCurrentRow(0);
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

void ForceEditor::showRecord(int s)
{
    shown_ = DecodeForce(save_, s);
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

bool ForceEditor::store(int s)
{
    // Every force the view can hold can be stored.
    kinds_.write(SaveRecord::Force, s, ChangesBetween(ForceFields(), shown_, collect()));
    return true;
}

bool ForceEditor::shownDiffers() const
{
    return kinds_.differs(SaveRecord::Force, shownRecord(), ChangesBetween(ForceFields(), shown_, collect()));
}

}  // namespace varkel
