// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bmp/plan.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// What reading gave: the plan, or why it was refused (one German sentence or
// two for the user); hinweise are things the user should know but that do
// not stop the import.
struct BmpLesung {
    std::optional<BmpPlan> plan;
    QString fehler;
    QStringList hinweise;
};

// The most a text given to the reader may hold: far more than any code
// carries, so that a file or a pasted text that is something else entirely
// is refused before it is parsed.
constexpr int bmpHoechstEingabe = 8192;

// Reads one page from the bytes of its code (ISO-8859-1, no prolog), or from
// a file that stores it with prolog, DOCTYPE and line breaks.
BmpLesung bmpLesen(const QByteArray &bytes);

// Reads one page from text, as a scanner typed it or a user pasted it.
BmpLesung bmpTextLesen(const QString &text);

// What a scanner in keyboard mode typed, split into its pages and repaired:
// everything before "<MP" and after "</MP>" (a prefix such as "]d1", the
// line end) goes, line breaks inside go, and umlauts that came as UTF-8 read
// as Latin-1 ("Ã¼") or as a dead key and its letter ("¨u") are put together.
QStringList bmpScannerSeiten(const QString &getippt);

// Joins the pages of one plan, in any order, into one plan: pages of
// another plan are refused, a page that came twice counts once, a missing
// page is named in the hints, and a section that continues on the next page
// (the same heading) becomes one.
BmpLesung bmpSeitenZusammenfuehren(const QVector<BmpPlan> &seiten);
