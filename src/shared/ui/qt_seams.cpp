#include "shared/ui/qt_seams.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSplitter>
#include <QTreeView>

#include <array>
#include <utility>

namespace varkel {

namespace {

// What the file dialogs call a saved game, in their filters and their detail view.
const QString kSaveFileKind = QStringLiteral("Varkel存檔");

// The game's files by name, called as the desktop's file types call them
// (resources/varkel-editor.xml); any other .sav is a saved game of some kind.
QString SaveFileKind(const QString& fileName)
{
    static const std::array<std::pair<QRegularExpression, QString>, 2> kinds = {{
        {QRegularExpression(QRegularExpression::wildcardToRegularExpression(QStringLiteral("svd_0?.sav")),
                            QRegularExpression::CaseInsensitiveOption),
         QStringLiteral("Varkel遊戲存檔")},
        {QRegularExpression(QRegularExpression::wildcardToRegularExpression(QStringLiteral("svd_sys.sav")),
                            QRegularExpression::CaseInsensitiveOption),
         QStringLiteral("Varkel新武將存檔")},
    }};
    for (const auto& [pattern, kind] : kinds)
        if (pattern.match(fileName).hasMatch())
            return kind;
    return kSaveFileKind;
}

// A file's time as the file dialogs show it: the locale's short date, and the time
// on the 24-hour clock, since the locale's short time needs a day-period pattern
// that Qt does not know for Chinese.
QString ShownFileDate(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    return QLocale().toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           time.time().toString(QStringLiteral("HH:mm"));
}

QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toButton(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

QString filterOf(const FileDialogRequest& request)
{
    return request.filterLabel + QStringLiteral(" (") + request.filterPattern + QLatin1Char(')');
}

// The detail view of the file dialog in Traditional Chinese throughout: saved games
// and the game's data files are named by their kind instead of the MIME database's
// (which takes ".sav" for SPSS data), and sizes and dates follow the program's
// locale, where the file system model would use the system's.
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == kNameColumn)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        switch (index.column()) {
        case kSizeColumn:
            if (info.isFile())
                return QLocale().formattedDataSize(info.size());
            break;
        case kTypeColumn:
            if (info.isDir())
                return QStringLiteral("資料夾");  // the model's own word is English
            if (info.isFile() && info.suffix().compare(QLatin1String("sav"), Qt::CaseInsensitive) == 0)
                return SaveFileKind(info.fileName());
            if (info.isFile() && info.suffix().compare(QLatin1String("vk"), Qt::CaseInsensitive) == 0)
                return QStringLiteral("Varkel資料");
            break;
        case kDateColumn:
            return ShownFileDate(files->lastModified(source));
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    enum Column { kNameColumn, kSizeColumn, kTypeColumn, kDateColumn };
};

// The program's own file dialog in its detail view, with columns wide enough to
// read a Chinese file name, a size and a date; the chosen file, or empty.
QString RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode, QFileDialog::Options options)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder);
    dialog.setOptions(options | QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    // Every saved game besides the files asked for, where saved games are asked for (not for a CSV).
    QStringList filters = {filterOf(request)};
    if (request.filterPattern.contains(QLatin1String(".sav"), Qt::CaseInsensitive))
        filters << kSaveFileKind + QStringLiteral(" (*.sav)");
    dialog.setNameFilters(filters << QStringLiteral("所有檔案 (*)"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const QFontMetrics metrics = view->fontMetrics();
        const int pad = 3 * metrics.horizontalAdvance(QLatin1Char(' ')) + 16;
        const std::array<QString, 4> widest = {QStringLiteral("Svd_sys.sav 國國國國國國國國"),
                                               QLocale().formattedDataSize(999'990), QStringLiteral("Windows BMP 影像"),
                                               ShownFileDate(QDateTime(QDate(2026, 12, 28), QTime(23, 59)))};
        int total = 0;
        for (int c = 0; c < int(widest.size()); ++c) {
            const int width = metrics.horizontalAdvance(widest[c]) + pad;
            view->header()->resizeSection(c, width);
            total += width;
        }
        // The side bar of places, wide enough for a folder name, plus the columns.
        const int places = metrics.horizontalAdvance(QStringLiteral("國國國國國國國")) + 48;
        if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
            splitter->setSizes({places, total});
        dialog.resize(total + places + 60, 480);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

Answer MessageBoxPrompter::ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon)
{
    // The buttons shown and the one Escape presses; Enter presses the default answer's.
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        shown = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case MessageButtons::YesNoCancel:
    case MessageButtons::YesNoCancelDefaultCancel:
        shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(toIcon(icon), title, text, shown, QApplication::activeWindow());
    box.setDefaultButton(toButton(DefaultAnswer(buttons)));
    box.setEscapeButton(escape);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtFileDialogs::openFile(const FileDialogRequest& request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen, {});
}

QString QtFileDialogs::saveFile(const FileDialogRequest& request)
{
    // The overwrite question is the editor's own (a numbered text), so the dialog does not ask.
    return RunFileDialog(request, QFileDialog::AcceptSave, QFileDialog::DontConfirmOverwrite);
}

QString QtFileDialogs::chooseFolder(const QString& prompt)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), prompt, QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

}  // namespace varkel
