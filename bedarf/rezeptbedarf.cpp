// SPDX-License-Identifier: GPL-3.0-or-later
#include "bedarf/rezeptbedarf.h"

#include "appointments/hausarzt.h"
#include "bedarf/anforderungen.h"
#include "intake/bestand.h"
#include "text/textformat.h"

#include <QHash>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <limits>

QDate bedarfStichtag(const QDate &bis, const QDate &hausarztTermin, bool bisHausarzt)
{
    return bisHausarzt && hausarztTermin.isValid() && hausarztTermin > bis ? hausarztTermin : bis;
}

std::optional<int> packungenBerechnen(float verbrauch, float bestandHeute, qint64 tage,
                                      const std::optional<double> &einheiten)
{
    if (!einheiten || !(*einheiten > 0))
        return std::nullopt;
    // A stock below zero was never taken: nothing is owed for it.
    const double bedarf = static_cast<double>(verbrauch) * static_cast<double>(tage + 7) -
                          qMax(0.0, static_cast<double>(bestandHeute));
    // Doses like 0.1 are not exact in single precision: their residue must
    // not order a package more.
    return qMax(0, static_cast<int>(std::ceil(bedarf / *einheiten - 1e-6)));
}

std::optional<Bedarf> bedarfPruefen(const QVariant &stand, const QVariant &tag, const Dosen &dosen, const QDate &heute,
                                    const QDate &stichtag, const std::optional<double> &einheiten)
{
    Bedarf b;
    // Nothing is hidden: a line that cannot be counted may be running out.
    // The reasons are written only for such a line.
    QDate tagDatum;
    if (!zeileGueltig(stand, tag, dosen, &tagDatum)) {
        b.fehler = zeilePruefen(stand, tag, {dosen.at(0), dosen.at(1), dosen.at(2), dosen.at(3)}).fehler;
        return b;
    }
    // The stock, range and last day exactly as the row cache and the
    // overview compute them.
    const Bestand bestand = bestandBerechnen(gespeichertAlsFloat(stand), gespeichertAlsFloat(dosen.at(0)),
                                             gespeichertAlsFloat(dosen.at(1)), gespeichertAlsFloat(dosen.at(2)),
                                             gespeichertAlsFloat(dosen.at(3)), tagDatum, heute);
    const qint64 tage = heute.daysTo(stichtag);
    if (!(bestand.verbrauch > 0) || reichtGewissBis(bestand.reichweite, tage))
        return std::nullopt;
    // The text of the range is written where its six digits could tip the
    // last day, and otherwise only for the rows in view.
    ReichweiteTage r;
    if (const std::optional<ReichweiteTage> ohneText = reichweiteOhneText(bestand.reichweite, bestand.verbrauch,
                                                                          heute)) {
        r = *ohneText;
    } else {
        const Reichweite z = reichweiteZahlen(bestandText(bestand.reichweite), bestand.verbrauch, heute, QDate());
        r = {z.reichtBis, z.gelb};
    }
    if (!(r.reichtBis < stichtag))
        return std::nullopt;
    b.reichweite = bestand.reichweite;
    b.verbrauch = bestand.verbrauch;
    b.bestand = bestand.heute;
    b.reichtBis = r.reichtBis;
    b.leer = r.reichtBis < heute;
    b.gelb = r.gelb;
    b.packungen = packungenBerechnen(bestand.verbrauch, bestand.heute, tage, einheiten);
    return b;
}

namespace {

// A position as SQLite orders it: NULL first, then numbers, then anything else.
std::pair<int, double> positionsSchluessel(const QVariant &ordnung)
{
    if (ordnung.isNull())
        return {0, 0};
    const int typ = ordnung.userType();
    if (typ == QMetaType::LongLong || typ == QMetaType::Int || typ == QMetaType::Double)
        return {1, ordnung.toDouble()};
    return {2, 0};
}

} // namespace

void bedarfSortieren(QVector<Bedarfszeile> &zeilen)
{
    // Sorted by compact keys, then moved once: a list of tens of thousands
    // of lines is compared many times over.
    struct Schluessel {
        bool gueltig;
        qint64 tag;
        int patient;
        std::pair<int, double> position;
        qint64 einnahme;
        int index;
    };
    QVector<Schluessel> schluessel;
    schluessel.reserve(zeilen.size());
    for (int i = 0; i < zeilen.size(); ++i) {
        const Bedarfszeile &z = zeilen.at(i);
        const bool gueltig = z.bedarf.fehler.isEmpty();
        schluessel.append({gueltig, gueltig ? z.bedarf.reichtBis.toJulianDay() : 0, z.patient,
                           positionsSchluessel(z.ordnung), z.einnahme, i});
    }
    std::sort(schluessel.begin(), schluessel.end(), [](const Schluessel &a, const Schluessel &b) {
        return std::tie(a.gueltig, a.tag, a.patient, a.position, a.einnahme) <
               std::tie(b.gueltig, b.tag, b.patient, b.position, b.einnahme);
    });
    QVector<Bedarfszeile> sortiert;
    sortiert.reserve(zeilen.size());
    for (const Schluessel &s : schluessel)
        sortiert.append(std::move(zeilen[s.index]));
    zeilen = std::move(sortiert);
}

Bedarfsliste bedarfLesen(DbSitzung &db, const QDate &heute, const QDate &bis, bool bisHausarzt, bool *ok)
{
    Bedarfsliste liste;
    *ok = false;

    // Patients in the order of the choice list, names alike ordered by first name.
    QHash<qint64, int> patientIndex;
    bool gelesen = db.durchlaufen(
        QStringLiteral("SELECT id, lastname, firstname, birth FROM patient ORDER BY lastname, firstname, id"), {},
        [&](const DbZeile &q) {
            patientIndex.insert(q.value(0).toLongLong(), liste.patienten.size());
            liste.patienten.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                                    q.value(3).toString(), QDate()});
        });
    gelesen = gelesen && db.durchlaufen(QString::fromLatin1(naechsteHausarztTermine),
                                        {{QStringLiteral(":heute"), heute.toString(QStringLiteral("yyyy-MM-dd"))}},
                                        [&](const DbZeile &q) {
                                            const auto p = patientIndex.constFind(q.value(0).toLongLong());
                                            if (p != patientIndex.constEnd())
                                                liste.patienten[*p].hausarztTermin = tagLesen(q.value(1));
                                        });

    // The catalogue once, not joined to each of the lines.
    struct Packung {
        QString medizin, handelsname, dosis, einheitenText;
        std::optional<double> einheiten;
    };
    QHash<qint64, Packung> packungen;
    // Packages share a few sizes: each text is read once.
    QHash<QString, std::optional<double>> einheitenJeText;
    gelesen = gelesen &&
              db.durchlaufen(QStringLiteral("SELECT sorte.id, sorte.handelsname, sorte.dosis, "
                                            "sorte.packung, medikament.medizin FROM sorte LEFT JOIN "
                                            "medikament ON sorte.medizin_id = medikament.id"),
                             {}, [&](const DbZeile &q) {
                                 // As the pharmacy window reads it.
                                 const QString text = q.value(3).toString();
                                 auto bekannt = einheitenJeText.constFind(text);
                                 if (bekannt == einheitenJeText.constEnd())
                                     bekannt = einheitenJeText.insert(text, zahlLesen(text, Bereich::einheiten));
                                 const std::optional<double> einheiten = *bekannt;
                                 packungen.insert(q.value(0).toLongLong(),
                                                  {q.value(4).toString(), q.value(1).toString(), q.value(2).toString(),
                                                   einheiten ? text : QString(), einheiten});
                             });

    // A file nobody requested anything in has no table of requests.
    QHash<qint64, QDate> angefordert;
    bool da = false;
    if (gelesen)
        da = anforderungenDa(db, &gelesen);
    if (gelesen && da)
        gelesen = db.durchlaufen(QString::fromLatin1(offeneAnforderungen), {}, [&](const DbZeile &q) {
            angefordert.insert(q.value(0).toLongLong(), tagLesen(q.value(1)));
        });
    if (!gelesen)
        return liste;

    QVector<QDate> stichtage;
    stichtage.reserve(liste.patienten.size());
    for (const Bedarfspatient &p : liste.patienten)
        stichtage.append(bedarfStichtag(bis, p.hausarztTermin, bisHausarzt));

    // Every line is read and the rules decide. A condition in SQL leaving out
    // only lines that certainly last (stored values checked, the range
    // computed with a margin for single precision) was measured to cost
    // SQLite about what each line left out saves here: in the sample files
    // about half of all lines are listed, and the family-doctor appointments
    // give each patient a day of its own.
    const Packung ohnePackung;
    gelesen = db.durchlaufen(
        QStringLiteral("SELECT id, pat_id, med_id, ordnung, tag, stand, morgen, mittag, abend, nacht FROM einnahme"),
        {}, [&](const DbZeile &q) {
            // A line of no patient is shown nowhere.
            const auto p = patientIndex.constFind(q.value(1).toLongLong());
            if (p == patientIndex.constEnd())
                return;
            const auto packung = packungen.constFind(q.value(2).toLongLong());
            const Packung &k = packung == packungen.constEnd() ? ohnePackung : *packung;
            std::optional<Bedarf> b = bedarfPruefen(q.value(5), q.value(4),
                                                    {q.value(6), q.value(7), q.value(8), q.value(9)}, heute,
                                                    stichtage.at(*p), k.einheiten);
            if (!b)
                return;
            const qint64 id = q.value(0).toLongLong();
            liste.zeilen.append({id, *p, q.value(3), k.medizin, k.handelsname, k.dosis, k.einheitenText,
                                 angefordert.value(id), std::move(*b)});
        });
    if (!gelesen)
        return liste;
    bedarfSortieren(liste.zeilen);
    *ok = true;
    return liste;
}

QVector<QVector<int>> nachPatienten(const QVector<Bedarfszeile> &zeilen, const QVector<int> &auswahl)
{
    QVector<int> reihe = auswahl;
    std::sort(reihe.begin(), reihe.end(), [&zeilen](int a, int b) {
        const Bedarfszeile &x = zeilen.at(a), &y = zeilen.at(b);
        return std::make_tuple(x.patient, positionsSchluessel(x.ordnung), x.einnahme) <
               std::make_tuple(y.patient, positionsSchluessel(y.ordnung), y.einnahme);
    });
    QVector<QVector<int>> seiten;
    for (int i = 0; i < reihe.size(); ++i) {
        if (i == 0 || zeilen.at(reihe.at(i)).patient != zeilen.at(reihe.at(i - 1)).patient)
            seiten.append(QVector<int>());
        seiten.last().append(reihe.at(i));
    }
    return seiten;
}
