<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Pas encore de record</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Effacer le record</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, nouveau record !</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Record effacé</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Maintenez la barre d’espace, le bouton de la souris ou A sur une manette</translation>
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
        <translation>Record : %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Nouveau record !</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
</TS>
