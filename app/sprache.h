// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

class QTranslator;

// German for the program and for Qt's own dialogs and buttons ("Ja", "Nein",
// "Abbrechen"). The translator must live as long as the application.
void deutscheOberflaeche(QTranslator &qtDeutsch);

// The font of the whole interface. The layout is in fixed pixels, drawn for
// Arial's metrics at 12 pixels: a desktop's default (DejaVu Sans is about
// 10 % wider) would cut captions, so the families below are asked for
// first, and the platform's default only where none of them is installed.
QFont oberflaechenSchrift();

// Makes it the application's font as well: small windows and message boxes
// take that one, and under a style sheet Qt 5 draws table header captions in
// it whatever the header's own font. The program and the picture tool call it.
void schriftEinrichten();

// The families asked for, in order: Liberation Sans and Arial share Arial's
// metrics. Tests set another one to check the layout with a wider font.
extern QStringList schriftFamilien;
