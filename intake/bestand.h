// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <optional>

struct Zahlbereich;

// Stock of one intake line as of a given day. The consumption, the product
// days x consumption and the stock are single precision, each step rounded
// to float; the range is the double quotient of the two floats. Files
// written earlier hold figures computed this way, so the rounding must stay.
struct Bestand {
    float verbrauch = 0;   // units per day: ((morgen + mittag) + abend) + nacht
    qint32 tage = 0;       // days from the counting day to today; 0 for no date
    float heute = 0;       // units in stock today
    double reichweite = 0; // days the stock lasts from today (inf/nan without consumption)
};

Bestand bestandBerechnen(float stand, float morgen, float mittag, float abend, float nacht, const QDate &tag,
                         const QDate &heute);

// How the row cache writes stock and range: QString::number, 'g', 6 digits,
// but without exponent, so that the stock offered for correcting can be
// confirmed as it stands.
QString bestandText(double wert);

// What the views show instead of a figure that cannot be known.
QString ungueltigText();

// Why a stored number cannot be used, naming it (name opens the text), its
// value and the range; an empty text when it can.
QString gespeichertPruefen(const QString &name, const QVariant &wert, const Zahlbereich &bereich);
// Whether it can, without the text.
bool gespeichertGueltig(const QVariant &wert, const Zahlbereich &bereich);

// The same for the day the stock was counted on, stored as "yyyy-MM-dd".
QString tagPruefen(const QVariant &tag);
bool tagGueltig(const QVariant &tag);

// The day as QVariant::toDate reads it, any value, without its parser for
// "yyyy-MM-dd": a count that passed tagPruefen, an appointment.
QDate tagLesen(const QVariant &tag);

// A cached dose as the plans show it, or ungueltigText() where fehler says why it cannot be used.
QString dosisText(const QString &dosis, const QString &fehler);

// Why the stored values of an intake line cannot be used.
struct Zeilenpruefung {
    QStringList dosen; // per dose, morning to night; empty where valid
    QString fehler;    // every reason, one per line; empty when the line is valid
};

// stand, tag and the four doses as read from the file.
Zeilenpruefung zeilePruefen(const QVariant &stand, const QVariant &tag, const QVariantList &dosen);

// The four doses as read from the file, morning to night.
using Dosen = std::array<QVariant, 4>;

// Whether zeilePruefen finds nothing, without writing its texts: a list of
// every patient's lines checks each of them. tagDatum, when given, gets the
// day as tagLesen reads it.
bool zeileGueltig(const QVariant &stand, const QVariant &tag, const Dosen &dosen, QDate *tagDatum = nullptr);

// A stored number that passed gespeichertPruefen as single precision, as
// QVariant::toFloat gives it: it converts through double as well, and within
// the ranges the two ways agree.
inline float gespeichertAlsFloat(const QVariant &wert)
{
    return static_cast<float>(wert.toDouble());
}

// What the overview (and the printed medication list) shows for one line.
struct Reichweite {
    bool ohneVerbrauch = false; // no daily consumption: the stock never runs out
    float tage = 0;             // remaining days as read back from the cache
    float wochen = 0;
    QString wochenText;     // "1.6 Wochen", or "unbegrenzt"
    QDate reichtBis;        // last day with stock; invalid without consumption
    QString reichtBisText;  // "dd.MM.yyyy", or empty
    int balken = 0;         // bar value 0..100
    QString balkenText;     // the trade name, shown on the bar
    QString hinweis;        // the bar's tool tip
    bool gelb = false;      // less than four weeks left
    bool rot = false;       // runs out before the next family-doctor appointment
    bool ungueltig = false; // the line's stored values cannot be used: no figures
};

// reichweiteText is the cached range, verbrauch the line's daily consumption.
Reichweite reichweiteBerechnen(const QString &reichweiteText, float verbrauch, const QString &handelsname,
                               const QDate &heute, const QDate &hausarztTermin);

// The figures of reichweiteBerechnen without its texts (wochenText,
// reichtBisText, hinweis and balkenText stay empty): for lists of thousands
// of lines, which write the texts only of the rows in view.
Reichweite reichweiteZahlen(const QString &reichweiteText, float verbrauch, const QDate &heute,
                            const QDate &hausarztTermin);

// The last day with stock and the yellow mark of reichweiteZahlen for the
// text bestandText(reichweite), where its six digits cannot change them:
// for a list of thousands of lines, which writes the texts only of the rows
// in view. Nothing where they could (the text then decides), and for a line
// without consumption (verbrauch not above 0).
struct ReichweiteTage {
    QDate reichtBis;
    bool gelb = false;
};
std::optional<ReichweiteTage> reichweiteOhneText(double reichweite, float verbrauch, const QDate &heute);

// Whether the stock of a line whose unrounded range (Bestand::reichweite)
// is given certainly lasts until today + tage or later, its cached text
// unseen: a list of many lines skips the text where it cannot matter.
// False when in doubt.
bool reichtGewissBis(double reichweite, qint64 tage);

// What the overview shows for a line whose stored values cannot be used:
// no figures, no marks and an empty bar, the reason as its tool tip.
Reichweite reichweiteUngueltig(const QString &handelsname, const QString &fehler);

// Daily consumption from the four cached dose texts, summed as the fill sums them.
float tagesverbrauch(const QString &morgen, const QString &mittag, const QString &abend, const QString &nacht);
