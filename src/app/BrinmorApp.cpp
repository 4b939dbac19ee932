#include "BrinmorApp.h"

#include "ApplicationService.h"
#include "QtRepeatingTimer.h"
#include "SettingsStore.h"
#include "SteadyClock.h"
#include "WaylandDesktop.h"
#include "X11Desktop.h"

#include <QDir>
#include <QGuiApplication>
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
    const QDir dri(QStringLiteral("/dev/dri"));
    const bool hasGpu = !dri.entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
    if (!hasGpu)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
#endif
}
} // namespace

BrinmorApp::Services BrinmorApp::realServices()
{
    return {{std::make_shared<SteadyClock>(), std::make_shared<QtRepeatingTimer>(), std::make_shared<SettingsStore>()},
            QLocale::system(), {}, std::make_shared<QtRepeatingTimer>(), QGuiApplication::isRightToLeft()};
}

BrinmorApp::BrinmorApp(Services services)
    : m_services(std::move(services))
{
}

BrinmorApp::~BrinmorApp() = default;

void BrinmorApp::setNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brinmor"));
    QCoreApplication::setApplicationName(QStringLiteral("Brinmor"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Brinmor"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ApplicationService::id));
}

QQuickWindow *BrinmorApp::start()
{
    m_translator.install(m_services.locale, m_services.reverse);
    chooseRenderer();
    X11Desktop::useDetectableAutoRepeat();
    // Frosted glass needs blur: without it the windows behind would show through as sharp text. On Wayland,
    // KWin offers its blur as a global of its own, and only while its blur effect is on.
    std::unique_ptr<QObject> waylandBlur = WaylandDesktop::blurOffered();
    const bool translucent = (X11Desktop::composites() && X11Desktop::offersBlur()) || waylandBlur;
    if (translucent)
        QQuickWindow::setDefaultAlphaBuffer(true);
    m_game = std::make_unique<ContentView>(m_services.game);
    m_engine.addImportPath(QStringLiteral("qrc:/"));
    m_engine.setInitialProperties({{QStringLiteral("game"), QVariant::fromValue(m_game.get())},
                                   {QStringLiteral("translucent"), translucent}});
    m_engine.load(QUrl(QStringLiteral("qrc:/Brinmor/Main.qml")));
    const auto roots = m_engine.rootObjects();
    m_window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.constFirst());
    if (!m_window) {
        std::fprintf(stderr, "brinmor: could not create the game window\n");
        return nullptr;
    }
    if (translucent)
        X11Desktop::requestBlurBehind(m_window);
    // The blur lasts as long as its object: the window's.
    if (waylandBlur) {
        WaylandDesktop::requestBlurBehind(waylandBlur.get(), m_window);
        waylandBlur.release()->setParent(m_window);
    }
    // A logout or Ctrl+C closes the window as its close control does: a hold under way ends like a
    // release, and what the store lacks gets its last chance.
    QObject::connect(&m_quitSignals, &QuitSignals::quitRequested, m_window, &QWindow::close);
    // SDL takes a few milliseconds to start: after the first frame, which the player is waiting for.
    QObject::connect(m_window, &QQuickWindow::frameSwapped, m_window, [this] {
        m_gamepads = std::make_unique<Gamepads>(m_window, m_services.inputDevices, m_services.padReader);
    }, Qt::SingleShotConnection);
    return m_window;
}
