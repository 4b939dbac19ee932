#include "ApplicationService.h"
#include "BrinmorApp.h"
#include "CommandLine.h"
#include "GameApplication.h"

#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    // Before Qt opens a display: --help, --version and a mistyped option need none.
    if (const int status = CommandLine::handle(argc, argv); status >= 0)
        return status;
    const QVariantMap launch = ApplicationService::launchData();
    GameApplication app(argc, argv);
    BrinmorApp::setNames();
    ApplicationService session;
    if (!session.claim(launch))
        return 0;
    BrinmorApp game(BrinmorApp::realServices());
    if (!game.start())
        return 1;
    const int status = app.exec();
    // Before the game waits for its store: a start meanwhile must not wait for a game that is gone.
    session.release();
    return status;
}
