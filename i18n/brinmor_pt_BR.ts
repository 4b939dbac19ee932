<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Ainda sem recorde</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Zerar recorde</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, novo recorde!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Recorde zerado</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Segure a barra de espaço, o botão do mouse ou A no controle</translation>
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
        <translation>Recorde: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Novo recorde!</translation>
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
        <translation>Fechar</translation>
    </message>
</context>
</TS>
