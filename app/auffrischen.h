// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFlags>
#include <QString>
#include <optional>

// What a command changed. MainWindow::auffrischen refreshes every view that
// shows it, each once, in the order of the views below.
enum class Geaendert : unsigned {
    patienten = 1u << 0,       // rows of the patient table
    patientGewaehlt = 1u << 1, // another patient is the chosen one
    katalog = 1u << 2,         // medications or their packages
    einnahme = 1u << 3,        // intake lines (stock, doses, order)
    termine = 1u << 4,         // appointments
    anforderungen = 1u << 5,   // prescription requests
    // Anything may have changed (elsewhere, or after a conflict): every view,
    // keeping what is chosen and what the user typed.
    alles = patienten | patientGewaehlt | katalog | einnahme | termine | anforderungen,
    // Another file is in use: every view from its first rows, typed text dropped.
    datei = alles | (1u << 6),
};
Q_DECLARE_FLAGS(Aenderungen, Geaendert)
Q_DECLARE_OPERATORS_FOR_FLAGS(Aenderungen)

// The views of the window, in the order they are refreshed: each later one
// may read what an earlier one put on screen or into the row cache.
enum class Ansicht : unsigned {
    patientenliste = 1u << 0,  // page "Patientenliste" and the patient being edited
    patientenwahl = 1u << 1,   // the choice list on the page "Einstellungen"
    patientKopf = 1u << 2,     // the chosen patient's labels and the headline
    medikamente = 1u << 3,     // page "Medikamentenliste": medications and packages
    sortenwahl = 1u << 4,      // the packages offered for assigning
    zuordnung = 1u << 5,       // intake table, row cache and line details
    termine = 1u << 6,         // appointments and the next family-doctor appointment
    uebersicht = 1u << 7,      // overview (reads the row cache and that appointment)
    verordnungsplan = 1u << 8, // regulation plan (reads the row cache)
    rezeptbedarf = 1u << 9,    // page "Rezeptbedarf": what all patients must order
};
Q_DECLARE_FLAGS(Ansichten, Ansicht)
Q_DECLARE_OPERATORS_FOR_FLAGS(Ansichten)

// Every view that shows what changed.
Ansichten ansichtenFuer(Aenderungen was);

// Keys a command wants chosen after the refresh; unset keeps the one chosen
// before (when it still exists), "" stands for the first row.
struct Auswahl {
    std::optional<QString> patient; // in the choice list
    std::optional<int> bearbeitet;  // the patient loaded for editing
    std::optional<QString> medikament;
    std::optional<QString> sorte;
    std::optional<QString> zeile; // intake line
    std::optional<QString> termin;
};
