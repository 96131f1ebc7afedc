// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "storage/datenbankzugriff.h"

#include <QString>

#include <array>

class QLineEdit;

// The four doses typed for an intake line, morning to night.
struct Dosiseingabe {
    std::array<double, 4> dosen{};   // an empty field is a time without intake: 0
    QString fehler;                  // the message for the first field that cannot be read
    QLineEdit *fehlerFeld = nullptr; // that field; nullptr when every field can be read
};

// Reads the four dose fields. A dose typed wrongly must not silently become
// 0: the plan would tell the carer to give nothing, and the overview would
// show the stock as lasting for ever.
Dosiseingabe dosenLesen(QLineEdit *morgen, QLineEdit *mittag, QLineEdit *abend, QLineEdit *nacht);

// The four doses bound as :morgen, :mittag, :abend and :nacht.
Werte dosenWerte(const std::array<double, 4> &dosen);
