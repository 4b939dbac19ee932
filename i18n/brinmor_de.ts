<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Noch keine Bestzeit</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Bestzeit zurücksetzen</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, neuer Rekord!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Bestzeit zurückgesetzt</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Leertaste, Maustaste oder A am Gamepad gedrückt halten</translation>
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
        <translation>Bestzeit: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Neuer Rekord!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
</TS>
