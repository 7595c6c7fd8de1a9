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

std::optional<WindowPlace> parse(const QString& value)
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
    return WindowPlace{{n[0], n[1]}, {n[2], n[3]}, {n[4], n[5]}, n[6] == 1};
}

QString format(const WindowPlace& p)
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

// `p` moved inside `available`, and made smaller where it is larger.
WindowPlace inside(WindowPlace p, const QRect& available)
{
    p.size = p.size.boundedTo(available.size() - p.frameExtra).expandedTo(QSize(1, 1));
    const QSize frame = p.size + p.frameExtra;
    p.framePosition.setX(std::clamp(p.framePosition.x(), available.left(),
                                    std::max(available.left(), available.x() + available.width() - frame.width())));
    p.framePosition.setY(std::clamp(p.framePosition.y(), available.top(),
                                    std::max(available.top(), available.y() + available.height() - frame.height())));
    return p;
}

void restore(QWidget& window, const WindowPlace& p)
{
    window.resize(allowed(window, p.size));
    window.move(p.framePosition);
    if (p.maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
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
        const WindowPlace p{inside.topLeft() - offset, inside.size(), frameExtra, window_.isMaximized()};
        const QScreen* screen = window_.screen();
        if (!screen)
            return;
        auto settings = IniFile::read(path, nullptr, session_.files.io());
        const QString key = WindowPlaceKey(window_.objectName(), ScreenShape::of(*screen));
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

ScreenShape ScreenShape::of(const QScreen& screen)
{
    return {screen.geometry().size(), screen.devicePixelRatio()};
}

QString WindowPlaceKey(const QString& window, const ScreenShape& screen)
{
    return QStringLiteral("%1@%2x%3x%4")
        .arg(window)
        .arg(screen.size.width())
        .arg(screen.size.height())
        .arg(QString::number(screen.scale));
}

std::optional<WindowPlace> PlaceToRestore(const std::function<QString(const QString& key)>& kept,
                                          const QString& window, const std::vector<ScreenRoom>& screens)
{
    for (const ScreenRoom& screen : screens)
        if (const auto p = parse(kept(WindowPlaceKey(window, screen.shape))))
            return inside(*p, screen.available);
    // An older version's place says nothing of its screen: it may have been kept
    // at another scale, where it fitted the screen as it looked then.
    const auto old = parse(kept(window));
    if (!old)
        return std::nullopt;
    for (const ScreenRoom& screen : screens)
        if (screen.available.contains(old->frame()))
            return old;
    return std::nullopt;
}

void KeepWindowGeometry(QWidget& window, Session& session)
{
    std::optional<WindowPlace> place;
    if (!session.settingsPath.isEmpty()) {
        const QWidget* owner = window.parentWidget() ? window.parentWidget()->window() : &window;
        std::vector<ScreenRoom> screens;
        if (const QScreen* own = owner->screen())
            screens.push_back({ScreenShape::of(*own), own->availableGeometry()});
        for (const QScreen* screen : QGuiApplication::screens())
            if (screen != owner->screen())
                screens.push_back({ScreenShape::of(*screen), screen->availableGeometry()});
        place = PlaceToRestore(
            [&](const QString& key) { return ReadIniValue(session.settingsPath, kWindowsSection, key); },
            window.objectName(), screens);
    }
    if (place)
        restore(window, *place);
    else
        fitToScreen(window, kFrameAllowance);
    new GeometryKeeper(window, session);
}

}  // namespace varkel
