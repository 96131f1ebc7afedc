// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/fensterbausteine.h"

// Opens the frame both intake-line windows share, with the line's trade
// name on top.
inline void einnahmeFensterKopf(QDialog &fenster, const QFont &schrift, const QString &handelsname)
{
    fensterKopf(fenster, schrift, QStringLiteral("Medikament:"), QRect(0, 20, 85, 20), handelsname);
}
