#include "saveeditor/ui/save_editor_menus.h"

#include "saveeditor/save_layout.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/side_windows.h"
#include "shared/ui/control_names.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/keyboard.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <utility>

namespace varkel {

namespace {

const std::array<const char*, 9> kSlotNumerals = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};

// An item of `menu` named `name` that runs `run`.
template <typename Run>
QAction* addNamed(QMenu& menu, const char* name, const QString& text, QObject* context, Run run)
{
    QAction* action = menu.addAction(text, context, std::move(run));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

SaveEditorMenus::SaveEditorMenus(SaveGameEditor& editor, QMenuBar& bar) : QObject(&editor), editor_(editor)
{
    buildFileMenu(bar);
    QMenu* edit = bar.addMenu(QStringLiteral("編輯(&E)"));
    edit->setObjectName(QStringLiteral("tEdit"));
    tUndo = editor.editState().undoAction();
    tRedo = editor.editState().redoAction();
    edit->addAction(tUndo);
    edit->addAction(tRedo);
    buildOtherMenu(bar);
    QMenu* help = bar.addMenu(QStringLiteral("幫助(&H)"));
    QAction* about = addNamed(*help, "tAbout", QStringLiteral("關于..."), this, [this] {
        if (showAbout_)
            showAbout_();
    });
    UseStandardKeys({tOpenFile, tSaveFile, tSaveAs, tExit, about});
}

void SaveEditorMenus::buildFileMenu(QMenuBar& bar)
{
    FileCommands& files = editor_.fileCommands();
    SideWindows& sides = editor_.sideWindows();
    QMenu* file = bar.addMenu(QStringLiteral("文件(&F)"));
    tOpenFile = addNamed(*file, "tOpenFile", QStringLiteral("打開(&O)"), this, [&files] { files.open(); });
    tSaveFile = addNamed(*file, "tSaveFile", QStringLiteral("保存(&S)"), this, [&files] { files.save(); });
    tSaveAs = addNamed(*file, "tSaveAs", QStringLiteral("另存為(&A)"), this, [&files] { files.saveAs(); });
    tRecent = file->addMenu(QStringLiteral("最近打開(&R)"));
    tRecent->setObjectName(QStringLiteral("tRecent"));
    connect(tRecent, &QMenu::aboutToShow, this, [this, &files] { files.fillRecentMenu(*tRecent); });
    file->addSeparator();
    tCompare =
        addNamed(*file, "tCompare", QStringLiteral("比較存檔(&D)..."), this, [&sides] { sides.compareChosenSave(); });
    tBackups = addNamed(*file, "tBackups", QStringLiteral("備份記錄(&B)"), this, [&sides] { sides.openBackups(); });
    file->addSeparator();
    buildSlotMenu(*file);
    file->addSeparator();
    tExit = addNamed(*file, "tExit", QStringLiteral("退出(&X)"), &editor_, [this] { editor_.close(); });
}

void SaveEditorMenus::buildSlotMenu(QMenu& file)
{
    QMenu* slotMenu = file.addMenu(QStringLiteral("存檔(&S)"));
    slotMenu->setObjectName(QStringLiteral("tFSave"));
    for (int k = 0; k < save::kSlotCount; ++k) {
        const QString text = QStringLiteral("存檔%1(&%2)").arg(QString::fromUtf8(kSlotNumerals[k])).arg(k + 1);
        sSavSum[k] = slotMenu->addAction(text, this, [this, k] { editor_.openSlot(k); });
        sSavSum[k]->setObjectName(indexed("sSavSum", k));
        sSavSum[k]->setCheckable(true);
    }
}

void SaveEditorMenus::buildOtherMenu(QMenuBar& bar)
{
    SideWindows& sides = editor_.sideWindows();
    QMenu* other = bar.addMenu(QStringLiteral("其它(&O)"));
    other->setObjectName(QStringLiteral("sOther"));
    sCity = addNamed(*other, "sCity", QStringLiteral("都市(&C)"), this, [&sides] { sides.openCityEditor(-1); });
    sBingQi = addNamed(*other, "sBingQi", QStringLiteral("勢力(&N)"), this, [&sides] { sides.openForceEditor(-1); });
    other->addSeparator();
    sTable = addNamed(*other, "sTable", QStringLiteral("一覽表(&T)"), this, [this, &sides] {
        const SaveRecord kind = EditorModes::kRecords[std::size_t(editor_.modes().current())];
        sides.openRecordsTable(kind, &editor_, [this, kind](int n) { editor_.showRecordOf(kind, n); });
    });
    sTable->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    sCheck = addNamed(*other, "sCheck", QStringLiteral("檢查存檔(&K)"), this, [&sides] { sides.openProblems(); });
}

void SaveEditorMenus::tickSlot(int slot)
{
    for (int k = 0; k < save::kSlotCount; ++k)
        sSavSum[k]->setChecked(k == slot);
}

}  // namespace varkel
