#include "shared/ui/edit_state.h"

#include "shared/ui/standard_error.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace varkel {

EditState::EditState(QWidget& window, Document& document, QString title)
    : QObject(&window), window_(window), document_(document), title_(std::move(title))
{
    statusLine_ = new QStatusBar(&window);
    // The whole line where the window cuts it.
    connect(statusLine_, &QStatusBar::messageChanged, statusLine_, &QWidget::setToolTip);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setSizeGripEnabled(false);
    // Outside a main window an empty status bar would shrink to a line.
    statusLine_->setMinimumHeight(statusLine_->fontMetrics().height() + 8);
    undo_ = new QAction(QStringLiteral("復原(&U)"), &window);
    undo_->setObjectName(QStringLiteral("tUndo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = new QAction(QStringLiteral("重做(&R)"), &window);
    redo_->setObjectName(QStringLiteral("tRedo"));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // The window's own shortcuts, whatever box has the focus.
    undo_->setShortcutContext(Qt::WindowShortcut);
    redo_->setShortcutContext(Qt::WindowShortcut);
    window.addAction(undo_);
    window.addAction(redo_);
    connect(undo_, &QAction::triggered, this, &EditState::undo);
    connect(redo_, &QAction::triggered, this, &EditState::redo);
    connect(&document_, &Document::stateChanged, this, &EditState::update);
    update();
}

void EditState::shareWith(QWidget& window) const
{
    window.addActions({undo_, redo_});
    if (save_)
        window.addAction(save_);
}

void EditState::opened()
{
    statusLine_->showMessage(QStringLiteral("已打開 %1").arg(QDir::toNativeSeparators(document_.path())));
    update();
}

namespace {

// One backup by its path; several in one folder by the folder and then their names,
// so that the line stays short enough to read.
QString backupsText(const QStringList& backups)
{
    const QString folder = QFileInfo(backups.front()).absolutePath();
    const bool oneFolder = std::all_of(backups.begin(), backups.end(),
                                       [&](const QString& b) { return QFileInfo(b).absolutePath() == folder; });
    if (backups.size() == 1 || !oneFolder) {
        QStringList paths;
        for (const QString& b : backups)
            paths << QDir::toNativeSeparators(b);
        return paths.join(QStringLiteral("、"));
    }
    QStringList names;
    for (const QString& b : backups)
        names << QFileInfo(b).fileName();
    return QDir::toNativeSeparators(folder) + QStringLiteral("：") + names.join(QStringLiteral("、"));
}

}  // namespace

void EditState::saved(const QStringList& written, FileStore& files)
{
    QStringList names;
    QStringList backups;
    for (const QString& path : written) {
        names << QFileInfo(path).fileName();
        const QString backup = files.backupOf(path);
        if (!backup.isEmpty() && !backupsShown_.contains(backup)) {
            backupsShown_.insert(backup);
            backups << backup;
        }
    }
    QString text = QStringLiteral("已保存 %1").arg(names.join(QStringLiteral("、")));
    if (!backups.isEmpty())
        text += QStringLiteral("（原檔已備份到 %1）").arg(backupsText(backups));
    // A wait for another program is over by now; an index that cannot be written is told once.
    for (const BackupNotice& notice : files.takeBackupNotices())
        if (notice.kind == BackupNotice::Kind::IndexNotWritten)
            text += QStringLiteral("；備份索引無法寫入，備份已保留，但不再記錄它們來自哪個文件");
    statusLine_->showMessage(text);
}

void EditState::saveFailed(const QString& path, const RuntimeError& error)
{
    // The message box that reports the failure too logs the platform's reason.
    statusLine_->showMessage(QStringLiteral("未能保存 %1：%2").arg(QFileInfo(path).fileName(), error.message()));
}

void EditState::notKept(const QString& what, const RuntimeError& error)
{
    const QString shown = statusLine_->currentMessage();
    const QString note = QStringLiteral("%1未能保存：%2").arg(what, ShownError(error));
    statusLine_->showMessage(shown.isEmpty() ? note : shown + QStringLiteral("；") + note);
}

void EditState::undo()
{
    const QString name = document_.undoName();
    if (!document_.canUndo() || (mayRestore_ && !mayRestore_()) || !document_.undo())
        return;
    statusLine_->showMessage(QStringLiteral("已復原：%1").arg(name));
}

void EditState::redo()
{
    const QString name = document_.redoName();
    if (!document_.canRedo() || (mayRestore_ && !mayRestore_()) || !document_.redo())
        return;
    statusLine_->showMessage(QStringLiteral("已重做：%1").arg(name));
}

void EditState::update()
{
    const QString path = document_.path();
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    window_.setWindowTitle(name.isEmpty() ? title_ + QStringLiteral("[*]")
                                          : QStringLiteral("%1[*] - %2").arg(name, title_));
    window_.setWindowModified(document_.anyModified());
    // The menu names the step each would take back or make again.
    const auto label = [](const char* verb, const char* accelerator, const QString& step) {
        const QString text = QString::fromUtf8(verb) + (step.isEmpty() ? QString() : QLatin1Char(' ') + step);
        return text + QLatin1String(accelerator);
    };
    undo_->setText(label("復原", "(&U)", document_.undoName()));
    redo_->setText(label("重做", "(&R)", document_.redoName()));
    undo_->setEnabled(document_.canUndo());
    redo_->setEnabled(document_.canRedo());
}

}  // namespace varkel
