#include "BrinmorApp.h"

#include "ContentView.h"
#include "Gamepads.h"
#include "X11Desktop.h"

#include <QDir>
#include <QQuickWindow>
#include <cstdio>

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
} // namespace

BrinmorApp::BrinmorApp(int &argc, char **argv)
    : m_app(argc, argv)
{
    setNames();
    m_translator.install(QLocale::system());
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
    X11Desktop::useDetectableAutoRepeat();
    // Frosted glass needs blur: without it the windows behind would show through as sharp text.
    const bool translucent = X11Desktop::composites() && X11Desktop::offersBlur();
    if (translucent)
        QQuickWindow::setDefaultAlphaBuffer(true);
    m_game = std::make_unique<ContentView>();
    QQuickWindow *window = loadWindow(m_engine, m_game.get(), translucent);
    if (!window) {
        std::fprintf(stderr, "brinmor: could not create the game window\n");
        return 1;
    }
    if (translucent)
        X11Desktop::requestBlurBehind(window);
    // A logout or Ctrl+C closes the window as its close control does: a hold under way ends like a
    // release, and what the store lacks gets its last chance.
    QObject::connect(&m_quitSignals, &QuitSignals::quitRequested, window, &QWindow::close);
    // SDL takes a few milliseconds to start: after the first frame, which the player is waiting for.
    QObject::connect(window, &QQuickWindow::frameSwapped, window,
                     [this, window] { m_gamepads = std::make_unique<Gamepads>(window); }, Qt::SingleShotConnection);
    return m_app.exec();
}
