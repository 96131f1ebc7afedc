// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/dosisfelder.h"

#include "text/textformat.h"

#include <QLineEdit>

#include <optional>
#include <utility>

Dosiseingabe dosenLesen(QLineEdit *morgen, QLineEdit *mittag, QLineEdit *abend, QLineEdit *nacht)
{
    const std::array<std::pair<QLineEdit *, const char *>, 4> felder{
        {{morgen, "Morgen"}, {mittag, "Mittag"}, {abend, "Abend"}, {nacht, "Nacht"}}};
    Dosiseingabe eingabe;
    for (std::size_t i = 0; i < felder.size(); ++i) {
        const QString text = felder[i].first->text().trimmed();
        if (text.isEmpty())
            continue;
        const std::optional<double> wert = zahlLesen(text, Bereich::dosis);
        if (!wert) {
            eingabe.fehler = zahlFehlerText(QString::fromLatin1(felder[i].second), text, Bereich::dosis);
            eingabe.fehlerFeld = felder[i].first;
            return eingabe;
        }
        eingabe.dosen[i] = *wert;
    }
    return eingabe;
}

Werte dosenWerte(const std::array<double, 4> &dosen)
{
    return {{QStringLiteral(":morgen"), dosen[0]},
            {QStringLiteral(":mittag"), dosen[1]},
            {QStringLiteral(":abend"), dosen[2]},
            {QStringLiteral(":nacht"), dosen[3]}};
}
