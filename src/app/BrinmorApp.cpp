#include "BrinmorApp.h"

#include "ContentView.h"

#include <QDir>
#include <QQuickWindow>
#include <cstdio>
#include <cstdlib>

#ifdef BRINMOR_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {
// Without a GPU, Qt Quick's OpenGL renderer runs on a software rasteriser that costs
// several times the CPU and memory of Qt Quick's own software renderer.
void chooseRenderer()
{
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        return;
    const bool hasGpu = !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
    if (!hasGpu)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
#endif
}

// See-through needs a compositor: without one, X11 shows whatever bytes lie in a
// translucent window's pixels. Wayland always composites.
bool desktopComposites()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
#ifdef BRINMOR_HAVE_XCB
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *connection = x11->connection();
    const QByteArray name = QByteArrayLiteral("_NET_WM_CM_S0");
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, true, name.size(), name.constData()), nullptr);
    bool composited = false;
    if (atom && atom->atom != XCB_NONE) {
        xcb_get_selection_owner_reply_t *owner =
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        composited = owner && owner->owner != XCB_NONE;
        std::free(owner);
    }
    std::free(atom);
    return composited;
#else
    return false;
#endif
}
} // namespace

BrinmorApp::BrinmorApp(int &argc, char **argv)
    : m_app(argc, argv)
{
    setNames();
}

BrinmorApp::~BrinmorApp() = default;

void BrinmorApp::setNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brinmor"));
    QCoreApplication::setApplicationName(QStringLiteral("Brinmor"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Brinmor"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopId));
}

QQuickWindow *BrinmorApp::loadWindow(QQmlApplicationEngine &engine, ContentView *game, bool translucent)
{
    engine.addImportPath(QStringLiteral("qrc:/"));
    engine.setInitialProperties({{QStringLiteral("game"), QVariant::fromValue(game)},
                                 {QStringLiteral("translucent"), translucent}});
    engine.load(QUrl(QStringLiteral("qrc:/Brinmor/Main.qml")));
    const auto roots = engine.rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.constFirst());
}

int BrinmorApp::exec()
{
    chooseRenderer();
    const bool translucent = desktopComposites();
    if (translucent)
        QQuickWindow::setDefaultAlphaBuffer(true);
    m_game = std::make_unique<ContentView>();
    if (!loadWindow(m_engine, m_game.get(), translucent)) {
        std::fprintf(stderr, "brinmor: could not create the game window\n");
        return 1;
    }
    return m_app.exec();
}
