// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bmp/plan.h"

#include <QString>
#include <QVector>

// Writes the pages of a medication plan as an A4 landscape PDF in the KBV's
// layout, each page with its own code drawn as vector rectangles 40 mm wide
// in the top right corner. "" when written, else why not.
QString bmpPdfSchreiben(const QString &datei, const QVector<BmpPlan> &seiten);
