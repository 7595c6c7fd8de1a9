#include "shared/ui/window_geometry.h"

#include "shared/ini_file.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>

namespace varkel {

namespace {

// What a window frame adds when the window has not been shown yet: enough for the
// title bars and borders of the usual desktops.
const QSize kFrameAllowance(16, 48);

struct Placement {
    QPoint framePosition;
    QSize size;        // inside the frame
    QSize frameExtra;  // what the frame adds to `size`
    bool maximized = false;

    QRect frame() const { return QRect(framePosition, size + frameExtra); }
};

std::optional<Placement> parse(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() != 7)
        return std::nullopt;
    std::array<int, 7> n{};
    for (int i = 0; i < 7; ++i) {
        bool ok = false;
        n[std::size_t(i)] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (n[2] <= 0 || n[3] <= 0 || n[4] < 0 || n[5] < 0 || (n[6] != 0 && n[6] != 1))
        return std::nullopt;
    return Placement{{n[0], n[1]}, {n[2], n[3]}, {n[4], n[5]}, n[6] == 1};
}

QString format(const Placement& p)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7")
        .arg(p.framePosition.x())
        .arg(p.framePosition.y())
        .arg(p.size.width())
        .arg(p.size.height())
        .arg(p.frameExtra.width())
        .arg(p.frameExtra.height())
        .arg(p.maximized ? 1 : 0);
}

// The size the window's layout allows for `size`.
QSize allowed(const QWidget& window, QSize size)
{
    return size.expandedTo(window.minimumSizeHint()).expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
}

bool restore(QWidget& window, const Placement& stored)
{
    Placement p = stored;
    p.size = allowed(window, p.size);
    const QRect frame = p.frame();
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen || !screen->availableGeometry().contains(frame))
        return false;
    window.resize(p.size);
    window.move(p.framePosition);
    if (p.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

// The window at its size hint, within the available area of its screen (a
// dialog's is the screen of the window it belongs to).
void fitToScreen(QWidget& window, QSize frameExtra)
{
    const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : &window;
    const QScreen* screen = owner->screen();
    const QSize wanted = allowed(window, window.sizeHint());
    if (wanted.isEmpty())
        return;  // no layout to size it: Qt's own size
    if (!screen) {
        window.resize(wanted);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QSize room = available.size() - frameExtra;
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) {
        window.resize(wanted);
        return;
    }
    QSize size = wanted.boundedTo(room);
    // Lower than it asks, its views scroll up and down: wider by a scroll bar where
    // the screen allows, they need not scroll sideways as well.
    if (size.height() < wanted.height())
        size.setWidth(std::min(room.width(), size.width() + window.style()->pixelMetric(QStyle::PM_ScrollBarExtent,
                                                                                        nullptr, &window)));
    size = allowed(window, size);
    window.resize(size);
    // Where the system would put a window this large, part of it may be off the screen.
    const QSize spare = (available.size() - size - frameExtra).expandedTo(QSize(0, 0));
    window.move(available.topLeft() + QPoint(spare.width() / 2, spare.height() / 2));
}

// Stores the window's place each time it is hidden.
class GeometryKeeper : public QObject {
public:
    GeometryKeeper(QWidget& window, Session& session) : QObject(&window), window_(window), session_(session)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Hidden by the program (closed); not minimised or hidden by the desktop.
        if (watched == &window_ && event->type() == QEvent::Hide && !event->spontaneous() && !window_.isMinimized())
            store();
        return false;
    }

private:
    void store() const
    {
        const QString& path = session_.settingsPath;
        if (path.isEmpty())
            return;
        const QRect inside = window_.isMaximized() ? window_.normalGeometry() : window_.geometry();
        const QRect frame = window_.frameGeometry();
        const QSize frameExtra = frame.size() - window_.geometry().size();
        const QPoint offset = window_.geometry().topLeft() - frame.topLeft();
        const Placement p{inside.topLeft() - offset, inside.size(), frameExtra, window_.isMaximized()};
        auto settings = IniFile::read(path, nullptr, session_.files.io());
        const QString key = window_.objectName();
        if (!settings || settings->value(kWindowsSection, key) == format(p))
            return;
        settings->setValue(kWindowsSection, key, format(p));
        // Losing a window's place costs the user nothing worth a message.
        (void)settings->write(session_.files.io());
    }

    QWidget& window_;
    Session& session_;
};

}  // namespace

void KeepWindowGeometry(QWidget& window, Session& session)
{
    std::optional<Placement> stored;
    if (!session.settingsPath.isEmpty())
        stored = parse(ReadIniValue(session.settingsPath, kWindowsSection, window.objectName()));
    if (!stored || !restore(window, *stored))
        fitToScreen(window, stored ? stored->frameExtra : kFrameAllowance);
    new GeometryKeeper(window, session);
}

}  // namespace varkel
