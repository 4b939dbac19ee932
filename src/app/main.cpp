#include "BrinmorApp.h"
#include "GameApplication.h"

#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    GameApplication app(argc, argv);
    BrinmorApp::setNames();
    BrinmorApp game(BrinmorApp::realServices());
    if (!game.start())
        return 1;
    return app.exec();
}
