#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <xcb/xcb.h>

// The real program's window on the X server the tests run on: where it is,
// what it shows, and asking it to close as a window manager would.

struct ProgramWindow {
    QRect rect; // client area, in screen coordinates
    quint32 id = 0;
    bool isValid() const { return id != 0 && rect.isValid(); }
};

inline ProgramWindow findProgramWindow()
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {"-root", "-tree"});
    if (!xwininfo.waitForFinished(5000))
        return {};
    // 0x200007 "title": ("ohm-parallel" "ohm-parallel")  792x573+0+0  +0+0
    static const QRegularExpression line(QStringLiteral(
        R"((0x[0-9a-f]+) .*\("ohm-parallel" "[^"]*"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))"));
    const QString out = QString::fromUtf8(xwininfo.readAllStandardOutput());
    for (const QString &l : out.split(u'\n')) {
        const auto m = line.match(l);
        if (m.hasMatch() && m.captured(2).toInt() > 100)
            return {QRect(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(2).toInt(),
                          m.captured(3).toInt()),
                    m.captured(1).toUInt(nullptr, 16)};
    }
    return {};
}

inline QImage grabScreen(QRect rect)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

inline bool clickScreen(QPoint p)
{
    return QProcess::execute(QStringLiteral("xdotool"), {"mousemove", QString::number(p.x()),
                                                         QString::number(p.y()), "click", "1"}) ==
           0;
}

inline xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return a;
}

// The icons a window offers the window manager in _NET_WM_ICON.
inline QList<QImage> windowIcons(quint32 window)
{
    QList<QImage> icons;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return icons;
    xcb_connection_t *c = x11->connection();
    const auto cookie = xcb_get_property(c, 0, window, internAtom(c, "_NET_WM_ICON"),
                                         XCB_ATOM_CARDINAL, 0, 1u << 20);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply)
        return icons;
    const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply) / 4;
    // width, height, then width * height ARGB pixels, for each icon
    for (int i = 0; i + 2 <= length;) {
        const int w = int(data[i]), h = int(data[i + 1]);
        if (w <= 0 || h <= 0 || i + 2 + w * h > length)
            break;
        QImage icon(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                icon.setPixel(x, y, data[i + 2 + y * w + x]);
        icons << icon;
        i += 2 + w * h;
    }
    free(reply);
    return icons;
}

// Sends WM_DELETE_WINDOW, what the close button of the title bar does.
inline bool askToClose(quint32 window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *c = x11->connection();
    auto atom = [c](const char *name) { return internAtom(c, name); };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    xcb_flush(c);
    return true;
}
