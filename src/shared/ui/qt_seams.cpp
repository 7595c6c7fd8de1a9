#include "shared/ui/qt_seams.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeView>

#include <array>

namespace varkel {

namespace {

QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString filterOf(const FileDialogRequest& request)
{
    return request.filterLabel + QStringLiteral(" (") + request.filterPattern + QLatin1Char(')');
}

// The program's own file dialog in its detail view, with columns wide enough to
// read a Chinese file name, a size and a date; the chosen file, or empty.
QString RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode, QFileDialog::Options options)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder, filterOf(request));
    dialog.setOptions(options | QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const QFontMetrics metrics = view->fontMetrics();
        const int pad = 3 * metrics.horizontalAdvance(QLatin1Char(' ')) + 16;
        const std::array<QString, 4> widest = {QStringLiteral("Svd_sys.sav 國國國國國國國國"), QStringLiteral("999.99 KiB"),
                                               QStringLiteral("sav 檔案國國"), QStringLiteral("2026/12/31 23:59")};
        int total = 0;
        for (int c = 0; c < int(widest.size()); ++c) {
            const int width = metrics.horizontalAdvance(widest[c]) + pad;
            view->header()->resizeSection(c, width);
            total += width;
        }
        // The side bar of places plus the columns.
        dialog.resize(total + 260, 480);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

Answer MessageBoxPrompter::ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon)
{
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo)
        standard = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MessageButtons::YesNoCancel)
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(toIcon(icon), title, text, standard, QApplication::activeWindow());
    if (buttons == MessageButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
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
