<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="language_a">
        <source>A</source>
        <translation>A</translation>
    </message>
    <message id="language_b">
        <source>B</source>
        <translation>B</translation>
    </message>
    <message id="language_c">
        <source>C</source>
        <translation>C</translation>
    </message>
    <message id="layout_text">
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message id="error_text">
        <source>Error %d</source>
        <translation>Fehler</translation>
    </message>
    <message id="draft_text">
        <source>Draft</source>
        <translation type="unfinished">Entwurf</translation>
    </message>
</context>
</TS>
