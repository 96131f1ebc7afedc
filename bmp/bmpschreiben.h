// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bmp/plan.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

// A dose of Kalvoria (units per time of day) as the code writes it: whole
// numbers as digits, one half, thirds and an eighth as "1/2", "1/3", "2/3",
// "1/8", others with a comma and at most two decimals ("0,25", "1,5",
// "12,5"); "" for 0; none when the format has no such value (12,25, 10000),
// which then goes into the dose text.
std::optional<QString> bmpDosisSchreiben(double wert);

// A text in the code's character set: the usual typographic signs are put
// into their Latin-1 equivalents (EUR for the euro sign, straight quotes,
// "-" for dashes, "..." for the ellipsis). fremd gets the characters that
// have none; the text is unusable then.
QString latin1Umschreiben(const QString &text, QString *fremd);

// One page's code content: ISO-8859-1, no prolog, no blanks between
// elements, in the attribute order of the KBV's examples.
QByteArray bmpSchreiben(const BmpPlan &seite);

// Table rows an entry takes on the printed page: one, two with a bound extra
// line or three ingredients.
int bmpZeilen(const BmpEintrag &eintrag);

// The plan cut into pages: each page at most 15 rows and its code at most
// 1400 bytes; a section split across pages repeats its heading. All pages
// share the plan's instance and carry their number; a single page carries
// none. Empty, with fehler set, when it needs more than 3 pages.
struct BmpSeiten {
    QVector<BmpPlan> seiten;
    QString fehler;
};
BmpSeiten bmpSeitenTeilen(const BmpPlan &plan);
