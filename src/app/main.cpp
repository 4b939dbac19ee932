#include "ApplicationService.h"
#include "BrinmorApp.h"
#include "CommandLine.h"

#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    // Before Qt opens a display: --help, --version and a mistyped option need none.
    if (const int status = CommandLine::handle(argc, argv); status >= 0)
        return status;
    const QVariantMap launch = ApplicationService::launchData();
    BrinmorApp app(argc, argv);
    ApplicationService session;
    if (!session.claim(launch))
        return 0;
    return app.exec();
}
