#include "shared/ui/file_drop.h"

#include <QChildEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMetaObject>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace varkel {

namespace {

// Decides on the drag events of the window. Qt hands a drag to the widget under the
// pointer that takes drops, else to the window; the widgets inside are watched too,
// so a file dropped onto a text box opens instead of being typed into it. Parented
// to the window, so it goes with it, and so does a drop still waiting to be handed on.
class FileDropFilter : public QObject {
public:
    FileDropFilter(QWidget& window, std::function<void(const QString&)> opened)
        : QObject(&window), window_(window), opened_(std::move(opened))
    {
        watch(&window);
        for (QWidget* child : window.findChildren<QWidget*>())
            watch(child);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
                watch(child);
            break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return inWindow(watched) && takeDrag(static_cast<QDropEvent*>(event));
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!inWindow(watched) || !takeDrag(drop))
                break;
            QMetaObject::invokeMethod(
                this, [this, path = DroppedFile(drop->mimeData())] { opened_(path); }, Qt::QueuedConnection);
            return true;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Accepts the drag as a copy when it is ours; a move would let the source
    // delete its file.
    static bool takeDrag(QDropEvent* event)
    {
        if (!(event->possibleActions() & Qt::CopyAction) || DroppedFile(event->mimeData()).isEmpty())
            return false;
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return true;
    }

    // Widgets made later are watched from the moment their parent takes them.
    void watch(QObject* object) { object->installEventFilter(this); }

    // A dialog owned by the window is a window of its own, with drops of its own.
    bool inWindow(QObject* watched) const
    {
        return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == &window_;
    }

    QWidget& window_;
    std::function<void(const QString&)> opened_;
};

}  // namespace

QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString path = urls.front().toLocalFile();
    return QFileInfo(path).isFile() ? path : QString();
}

void AcceptFileDrops(QWidget& window, std::function<void(const QString&)> opened)
{
    window.setAcceptDrops(true);
    new FileDropFilter(window, std::move(opened));
}

}  // namespace varkel
