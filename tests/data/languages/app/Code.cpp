// Code that names a text id for the language check's own test.
const char* const kText = QT_TRID_NOOP("code_text");
