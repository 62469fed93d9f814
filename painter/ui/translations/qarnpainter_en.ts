<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- English plural forms of the window's texts that count: the source texts say "(s)". -->
<TS version="2.1" language="en">
<context>
    <name>qarn::painter::PainterWindow</name>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation>
            <numerusform>%n error</numerusform>
            <numerusform>%n errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
</context>
</TS>
