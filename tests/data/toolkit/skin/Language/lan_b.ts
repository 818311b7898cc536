<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="hello_text">
        <source>Hello</source>
        <translation>Bonjour</translation>
    </message>
    <message id="message_text_22">
        <source>Restore the defaults?</source>
        <translation>Rétablir les réglages d’usine ?</translation>
    </message>
    <message id="menu_exit">
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message id="menu_tip">
        <source>Menu</source>
        <translation>Menu principal</translation>
    </message>
</context>
</TS>
