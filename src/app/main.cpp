#include "BrinmorApp.h"

#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    BrinmorApp app(argc, argv);
    return app.exec();
}
