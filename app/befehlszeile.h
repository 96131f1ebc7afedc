// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

class MainWindow;

// The program's command line: --help, --version and a database file to open,
// "kalvoria [datei]". The program (app/main.cpp) and the tests set it up alike.
class Befehlszeile
{
public:
    // The description that --help shows names the help document found, which
    // needs the application object; before one exists it is left out.
    Befehlszeile();

    QCommandLineParser parser;
    // Hidden from --help; for checking an installed program without a user
    // (make deb-check): messages go to stderr instead of a window, and the
    // program ends as soon as its window is up, with 1 when it showed one.
    QCommandLineOption beendenNachStart;

    // Whether these arguments (with the program name first) ask for --help or
    // --version, which are answered on the terminal without a window, so that
    // they work without a display too.
    static bool nurAuskunft(const QStringList &argumente);

    // Opens the database file named in the parsed arguments, if any, as
    // "Datei" -> "mit vorhandener Datenbank verbinden" would, with the same checks.
    void anwenden(MainWindow &fenster) const;
};
