// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/seams.h"

std::function<void(const QString &)> Seams::meldung;
std::function<bool(const QString &)> Seams::frage;
std::function<QString(const QString &, const QString &, const QString &, bool)> Seams::datei;
std::function<QString(const QString &, const QString &)> Seams::ordner;
std::function<QDateTime()> Seams::uhr;

void Seams::zuruecksetzen()
{
    meldung = nullptr;
    frage = nullptr;
    datei = nullptr;
    ordner = nullptr;
    uhr = nullptr;
}
