<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Ancora nessun record</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Azzera il record</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, nuovo record!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Record azzerato</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Tieni premuta la barra spaziatrice, il tasto del mouse o A su un controller</translation>
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
        <translation>Record: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Nuovo record!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Riduci a icona</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
</TS>
