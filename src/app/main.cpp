#include "BrinmorApp.h"
#include "CommandLine.h"

#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    // Before Qt opens a display: --help, --version and a mistyped option need none.
    if (const int status = CommandLine::handle(argc, argv); status >= 0)
        return status;
    BrinmorApp app(argc, argv);
    return app.exec();
}
