<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="uk_UA">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>Рекорду ще немає</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>Скинути рекорд</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1, новий рекорд!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>Рекорд скинуто</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>Утримуйте пробіл, кнопку миші або A на геймпаді</translation>
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
        <translation>Рекорд: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 Новий рекорд!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>Згорнути</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрити</translation>
    </message>
</context>
</TS>
