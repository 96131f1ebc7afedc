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

// Reads a number typed by the user: decimal point or decimal comma, blanks
// around it allowed. No value for an empty text or one that is no number.
std::optional<double> zahlLesen(const QString &text);
