// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// Hooks that replace the blocking dialogs and the clock. The program leaves
// them empty; tests set them to answer without a user and to fix "today".
struct Seams {
    // Shows an information or error text. Without a hook: QMessageBox.
    static std::function<void(const QString &text)> meldung;
    // Asks a Ja/Nein question; true means "Ja". Without a hook: QMessageBox.
    static std::function<bool(const QString &text)> frage;
    // Asks for a file name; empty means cancelled. Without a hook: QFileDialog.
    static std::function<QString(const QString &titel, const QString &vorschlag, const QString &filter, bool speichern)>
        datei;
    // Asks for a folder; empty means cancelled. Without a hook: QFileDialog.
    static std::function<QString(const QString &titel, const QString &vorschlag)> ordner;
    // The current date and time. Without a hook: the system clock.
    static std::function<QDateTime()> uhr;

    static void zuruecksetzen();
};
