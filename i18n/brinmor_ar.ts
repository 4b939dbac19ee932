<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar_EG">
<context>
    <name>GameScreen</name>
    <message>
        <source>Brinmor</source>
        <translation>Brinmor</translation>
    </message>
    <message>
        <source>No best time yet</source>
        <translation>لا يوجد رقم قياسي بعد</translation>
    </message>
    <message>
        <source>Reset High Score</source>
        <translation>إعادة تعيين الرقم القياسي</translation>
    </message>
    <message>
        <source>%1, New Record!</source>
        <translation>%1، رقم قياسي جديد!</translation>
    </message>
    <message>
        <source>Best time reset</source>
        <translation>أُعيد تعيين الرقم القياسي</translation>
    </message>
</context>
<context>
    <name>HoldButton</name>
    <message>
        <source>Hold Space, the mouse button or A on a pad</source>
        <translation>اضغط مطولًا على مفتاح المسافة أو زر الفأرة أو الزر A في ذراع التحكم</translation>
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
        <translation>الأفضل: %1</translation>
    </message>
    <message>
        <source>🎉 New Record!</source>
        <translation>🎉 رقم قياسي جديد!</translation>
    </message>
</context>
<context>
    <name>WindowChrome</name>
    <message>
        <source>Minimise</source>
        <translation>تصغير</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
</context>
</TS>
