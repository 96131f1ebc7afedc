// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/befehlszeile.h"

#include "app/mainwindow.h"
#include "pdf/hilfe.h"

#include <QCoreApplication>
#include <QDir>

Befehlszeile::Befehlszeile()
    : beendenNachStart(QStringLiteral("beenden-nach-start"),
                       QStringLiteral("Beendet das Programm, sobald sein Fenster steht (Pr\u00FCfung ohne Benutzer)."))
{
    QString beschreibung = QStringLiteral("Kalvoria verwaltet die Medikamente, Best\u00E4nde und Arzttermine mehrerer "
                                          "Patienten.");
    if (QCoreApplication::instance()) {
        const QString hilfe = hilfeDokument();
        beschreibung += QStringLiteral("\nAnleitung: ") +
                        (hilfe.isEmpty() ? QStringLiteral("nicht gefunden") : QDir::toNativeSeparators(hilfe));
    }
    parser.setApplicationDescription(beschreibung);
    // Single-dash words are whole options, as Qt's own are (-reverse is not -r -e -v ...).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("datei"),
                                 QStringLiteral("Die Kalvoria-Datenbank, die ge\u00F6ffnet wird, wie \u201EDatei\u201C "
                                                "\u2192 \u201Emit vorhandener Datenbank verbinden\u201C sie "
                                                "\u00F6ffnet. Ohne Angabe die zuletzt benutzte."),
                                 QStringLiteral("[datei]"));
    beendenNachStart.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(beendenNachStart);
}

bool Befehlszeile::nurAuskunft(const QStringList &argumente)
{
    // The raw arguments may still hold Qt's own (-platform offscreen), which
    // only the application object takes out: they are no reason to answer here.
    Befehlszeile befehlszeile;
    befehlszeile.parser.parse(argumente);
    const QStringList namen = befehlszeile.parser.optionNames();
    for (const char *frage : {"h", "help", "?", "help-all", "v", "version"}) {
        if (namen.contains(QLatin1String(frage)))
            return true;
    }
    return false;
}

void Befehlszeile::anwenden(MainWindow &fenster) const
{
    const QStringList dateien = parser.positionalArguments();
    if (!dateien.isEmpty())
        fenster.datenbankOeffnen(dateien.first());
}
