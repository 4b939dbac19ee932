<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Brak rekordu</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Wyzeruj rekord</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, nowy rekord!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Rekord wyzerowany</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Przytrzymaj spację, przycisk myszy lub A na padzie</translation>
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
        <translation>Rekord: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Nowy rekord!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Minimalizuj</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
</context>
</TS>
