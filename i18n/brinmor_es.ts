<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Aún no hay récord</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Borrar récord</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, ¡nuevo récord!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Récord borrado</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Mantén pulsada la barra espaciadora, el botón del ratón o A en un mando</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
</context>
<context>
    <name>ScoreReadout</name>
    <message>
        <source>Best: %1</source>
        <translation>Récord: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 ¡Nuevo récord!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Minimizar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
</TS>
