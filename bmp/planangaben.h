// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "intake/bestand.h"

#include <QString>

// What an imported medication plan says of an intake line beyond the four
// doses the original tables hold (table einnahme_bmp).
struct PlanAngaben {
    QString dosisText; // the dose as the plan wrote it in words
    bool ohneDosis = false;
    int wochentag = 0; // 1 = Monday; the dose is weekly, kept in dosisText
    QString einheit, form, hinweis, grund, zusatz, abschnitt;

    // A dose in words, a weekly one or none: the line has no daily use the
    // program could compute a range from, and its four doses are 0.
    bool ohneTagesverbrauch() const { return ohneDosis || !dosisText.isEmpty(); }
    // What the intake table and the plans show in place of the doses.
    QString dosisAnzeige() const;
};

// The overview's figures for such a line: the stock as counted, no range,
// no run-out day, no warning, and why.
Reichweite reichweiteOhneTagesdosis(const QString &handelsname, const PlanAngaben &angaben);

// The weekday's name in the plural ("Montags"), 1 = Monday.
QString wochentagText(int tag);
