#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace varkel {

class SaveGameEditor;

// The saved-game editor's menu bar: File (open, save, recent files, comparison,
// backups, the save slots), Edit (undo, redo), Other (the city and force editors,
// the records table, the problems list) and Help.
class SaveEditorMenus : public QObject {
    Q_OBJECT
public:
    SaveEditorMenus(SaveGameEditor& editor, QMenuBar& bar);

    // Help > About shows this.
    void setAboutView(std::function<void()> showAbout) { showAbout_ = std::move(showAbout); }
    // Ticks the slot of the open file, if it is one.
    void tickSlot(int slot);

    // Actions, named as their object names.
    std::array<QAction*, 9> sSavSum{};
    QAction* tOpenFile = nullptr;
    QAction* tSaveFile = nullptr;
    QAction* tSaveAs = nullptr;
    QAction* tExit = nullptr;
    QMenu* tRecent = nullptr;
    QAction* tUndo = nullptr;
    QAction* tRedo = nullptr;
    QAction* sCity = nullptr;
    QAction* sBingQi = nullptr;
    QAction* sTable = nullptr;
    QAction* sCheck = nullptr;
    QAction* tCompare = nullptr;
    QAction* tBackups = nullptr;

private:
    void buildFileMenu(QMenuBar& bar);
    void buildSlotMenu(QMenu& file);
    void buildOtherMenu(QMenuBar& bar);

    SaveGameEditor& editor_;
    std::function<void()> showAbout_;
};

}  // namespace varkel
