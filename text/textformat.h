// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Replaces the umlaut markers of the program's literals (":ae:", ":Oe:", ":sz:" ...)
// by the real characters. Case-sensitive: ":AE:" stays as it is.
QString umlauteErsetzen(QString text);

// Display text of a number of units: one half as "1/2", whole values without
// decimals, otherwise one decimal, or two where one would change the value.
QString mengeFormatieren(float wert);

// The local date of a time in seconds since 1970-01-01 UTC, as "dd.MM.yyyy".
QString datumAusZeit(unsigned int sekunden);

// What a number of one kind may be. Every number typed into the program and
// every stored one it computes with lies in one of the ranges below.
struct Zahlbereich {
    double von;
    double bis;
    bool ohneNull;        // 0 itself is refused
    bool ganz;            // no decimals
    const char *beispiel; // for the message, as a user would type it
};

namespace Bereich {
// Units per time of day.
constexpr Zahlbereich dosis{0, 100, false, false, "1 oder 0,5"};
// Units in stock; below 0 when the medication ran out days ago.
constexpr Zahlbereich bestand{-100000, 1000000, false, false, "14 oder 12,5"};
// Units in one package.
constexpr Zahlbereich einheiten{0, 100000, true, false, "20 oder 2,5"};
// Bought packages; a negative count takes a booking back.
constexpr Zahlbereich packungen{-1000, 1000, true, true, "1 oder 2"};
} // namespace Bereich

// Reads a number typed by the user: an optional sign, digits and at most one
// decimal separator, comma or point, followed by at least one digit (",5" is
// one half, "5," is refused); blanks around it allowed. No exponent, no
// grouping, no "inf" or "nan". No value for an empty text, one that is no
// such number, or a number outside the range.
std::optional<double> zahlLesen(const QString &text, const Zahlbereich &bereich);

// "eine Zahl von 0 bis 100", as the messages name a range.
QString bereichText(const Zahlbereich &bereich);

// The message for a typed text that zahlLesen refused: names the field, the
// range and the text, and says that nothing was stored.
QString zahlFehlerText(const QString &feld, const QString &text, const Zahlbereich &bereich);

// A number in plain notation, without exponent, as few digits as give it back.
QString zahlText(double wert);
