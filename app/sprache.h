#pragma once

class QTranslator;

// German for the program and for Qt's own dialogs and buttons ("Ja", "Nein",
// "Abbrechen"). The translator must live as long as the application.
void deutscheOberflaeche(QTranslator &qtDeutsch);
