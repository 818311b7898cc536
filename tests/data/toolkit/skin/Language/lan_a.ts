<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="hello_text">
        <source>Hello</source>
        <translation>Hello</translation>
    </message>
    <message id="message_text_22">
        <source>Restore the defaults?</source>
        <translation>Restore the defaults?</translation>
    </message>
    <message id="menu_exit">
        <source>Exit</source>
        <translation>Exit</translation>
    </message>
    <message id="menu_tip">
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
</context>
</TS>
