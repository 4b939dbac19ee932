#include "BrinmorApp.h"

#include "ContentView.h"

#include <QQuickWindow>
#include <cstdio>

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
    m_game = std::make_unique<ContentView>();
    if (!loadWindow(m_engine, m_game.get(), false)) {
        std::fprintf(stderr, "brinmor: could not create the game window\n");
        return 1;
    }
    return m_app.exec();
}
