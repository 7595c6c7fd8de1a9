#include "shared/ui/qt_seams.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

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

}  // namespace

Answer MessageBoxPrompter::ask(const QString& text, const QString& title, MessageButtons buttons, MessageIcon icon)
{
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo)
        standard = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == MessageButtons::YesNoCancel)
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(toIcon(icon), title, text, standard, QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString QtFileDialogs::openFile(const FileDialogRequest& request)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title, request.initialFolder,
                                        filterOf(request), nullptr, QFileDialog::DontUseNativeDialog);
}

QString QtFileDialogs::saveFile(const FileDialogRequest& request)
{
    // The overwrite question is the editor's own (a numbered text), so the dialog does not ask.
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title, request.initialFolder,
                                        filterOf(request), nullptr,
                                        QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
}

QString QtFileDialogs::chooseFolder(const QString& prompt)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), prompt, QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

}  // namespace varkel
