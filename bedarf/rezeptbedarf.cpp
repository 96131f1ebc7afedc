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

Bedarfsstand bedarfsstandBerechnen(const QVariant &stand, const QVariant &tag, const Dosen &dosen, const QDate &heute)
{
    Bedarfsstand s;
    // Nothing is hidden: a line that cannot be counted may be running out.
    // The reasons are written only for such a line.
    QDate tagDatum;
    if (!zeileGueltig(stand, tag, dosen, &tagDatum)) {
        s.fehler = zeilePruefen(stand, tag, {dosen.at(0), dosen.at(1), dosen.at(2), dosen.at(3)}).fehler;
        return s;
    }
    // The stock, range and last day exactly as the row cache and the
    // overview compute them.
    const Bestand bestand = bestandBerechnen(gespeichertAlsFloat(stand), gespeichertAlsFloat(dosen.at(0)),
                                             gespeichertAlsFloat(dosen.at(1)), gespeichertAlsFloat(dosen.at(2)),
                                             gespeichertAlsFloat(dosen.at(3)), tagDatum, heute);
    s.verbrauch = bestand.verbrauch;
    s.bestand = bestand.heute;
    s.reichweite = bestand.reichweite;
    if (!(bestand.verbrauch > 0))
        return s;
    // The text of the range is written only where its six digits could tip
    // the last day, and otherwise only for the rows in view.
    if (const std::optional<ReichweiteTage> ohneText = reichweiteOhneText(bestand.reichweite, bestand.verbrauch,
                                                                          heute)) {
        s.reichtBis = ohneText->reichtBis;
        s.gelb = ohneText->gelb;
    } else {
        const Reichweite z = reichweiteZahlen(bestandText(bestand.reichweite), bestand.verbrauch, heute, QDate());
        s.reichtBis = z.reichtBis;
        s.gelb = z.gelb;
    }
    return s;
}

std::optional<Bedarf> bedarfPruefen(const Bedarfsstand &stand, const QDate &heute, const QDate &stichtag,
                                    const std::optional<double> &einheiten)
{
    Bedarf b;
    if (!stand.fehler.isEmpty()) {
        b.fehler = stand.fehler;
        return b;
    }
    const qint64 tage = heute.daysTo(stichtag);
    if (!(stand.verbrauch > 0) || reichtGewissBis(stand.reichweite, tage) || !(stand.reichtBis < stichtag))
        return std::nullopt;
    b.reichweite = stand.reichweite;
    b.verbrauch = stand.verbrauch;
    b.bestand = stand.bestand;
    b.reichtBis = stand.reichtBis;
    b.leer = stand.reichtBis < heute;
    b.gelb = stand.gelb;
    b.packungen = packungenBerechnen(stand.verbrauch, stand.bestand, tage, einheiten);
    return b;
}

std::optional<Bedarf> bedarfPruefen(const QVariant &stand, const QVariant &tag, const Dosen &dosen, const QDate &heute,
                                    const QDate &stichtag, const std::optional<double> &einheiten)
{
    return bedarfPruefen(bedarfsstandBerechnen(stand, tag, dosen, heute), heute, stichtag, einheiten);
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

// Sorts a list of lines into the list's order by compact keys, then moves
// each once: a list of tens of thousands of lines is compared many times
// over. gueltig tells a line whose values can be used, reichtBis its last day.
template <typename Zeile, typename Gueltig, typename ReichtBis>
void inListenfolge(QVector<Zeile> &zeilen, Gueltig gueltig, ReichtBis reichtBis)
{
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
        const Zeile &z = zeilen.at(i);
        const bool g = gueltig(z);
        schluessel.append(
            {g, g ? reichtBis(z).toJulianDay() : 0, z.patient, positionsSchluessel(z.ordnung), z.einnahme, i});
    }
    std::sort(schluessel.begin(), schluessel.end(), [](const Schluessel &a, const Schluessel &b) {
        return std::tie(a.gueltig, a.tag, a.patient, a.position, a.einnahme) <
               std::tie(b.gueltig, b.tag, b.patient, b.position, b.einnahme);
    });
    QVector<Zeile> sortiert;
    sortiert.reserve(zeilen.size());
    for (const Schluessel &s : schluessel)
        sortiert.append(std::move(zeilen[s.index]));
    zeilen = std::move(sortiert);
}

// The lines read, into the list's order as inListenfolge puts them, at a
// third of its cost: every line of every patient is sorted at each read.
// The usable mark, last day and patient packed into one number are sorted
// by its digits, lines of one patient alike on one day then by position.
void postenOrdnen(QVector<Bedarfsposten> &posten)
{
    const auto gueltig = [](const Bedarfsposten &z) { return z.stand.fehler.isEmpty(); };
    const auto reichtBis = [](const Bedarfsposten &z) { return z.stand.reichtBis; };
    qint64 erster = std::numeric_limits<qint64>::max(), letzter = std::numeric_limits<qint64>::min();
    for (const Bedarfsposten &z : posten) {
        if (gueltig(z)) {
            erster = qMin(erster, z.stand.reichtBis.toJulianDay());
            letzter = qMax(letzter, z.stand.reichtBis.toJulianDay());
        }
    }
    // Days beyond what any range gives do not fit: sorted the plain way.
    if (erster <= letzter && letzter - erster >= (qint64(1) << 32))
        return inListenfolge(posten, gueltig, reichtBis);

    struct Schluessel {
        quint64 vorn; // usable, the day from the earliest, the patient
        int index;
    };
    QVector<Schluessel> schluessel(posten.size()), puffer(posten.size());
    quint64 gleich = ~quint64(0), irgendwo = 0;
    for (int i = 0; i < posten.size(); ++i) {
        const Bedarfsposten &z = posten.at(i);
        const quint64 tag = gueltig(z) ? quint64(z.stand.reichtBis.toJulianDay() - erster) : 0;
        const quint64 vorn = (quint64(gueltig(z)) << 63) | (tag << 31) | quint64(z.patient);
        schluessel[i] = {vorn, i};
        gleich &= vorn;
        irgendwo |= vorn;
    }
    // Sixteen bits at a time, from the lowest; a digit all lines share is skipped.
    QVector<int> anzahl(65537);
    for (int stelle = 0; stelle < 64; stelle += 16) {
        if ((((gleich ^ irgendwo) >> stelle) & 0xFFFF) == 0)
            continue;
        anzahl.fill(0);
        for (const Schluessel &k : schluessel)
            ++anzahl[int((k.vorn >> stelle) & 0xFFFF) + 1];
        for (int z = 0; z < 65536; ++z)
            anzahl[z + 1] += anzahl[z];
        for (const Schluessel &k : schluessel)
            puffer[anzahl[int((k.vorn >> stelle) & 0xFFFF)]++] = k;
        std::swap(schluessel, puffer);
    }
    for (int a = 0; a < schluessel.size();) {
        int b = a + 1;
        while (b < schluessel.size() && schluessel.at(b).vorn == schluessel.at(a).vorn)
            ++b;
        std::sort(schluessel.begin() + a, schluessel.begin() + b, [&posten](const Schluessel &x, const Schluessel &y) {
            const Bedarfsposten &p = posten.at(x.index), &q = posten.at(y.index);
            return std::make_pair(positionsSchluessel(p.ordnung), p.einnahme) <
                   std::make_pair(positionsSchluessel(q.ordnung), q.einnahme);
        });
        a = b;
    }
    QVector<Bedarfsposten> sortiert;
    sortiert.reserve(posten.size());
    for (const Schluessel &k : schluessel)
        sortiert.append(std::move(posten[k.index]));
    posten = std::move(sortiert);
}

} // namespace

void bedarfSortieren(QVector<Bedarfszeile> &zeilen)
{
    inListenfolge(
        zeilen, [](const Bedarfszeile &z) { return z.bedarf.fehler.isEmpty(); },
        [](const Bedarfszeile &z) { return z.bedarf.reichtBis; });
}

Bedarfsgrundlage bedarfEinlesen(DbSitzung &db, const QDate &heute, bool *ok)
{
    Bedarfsgrundlage g;
    g.heute = heute;
    *ok = false;

    // Patients in the order of the choice list, names alike ordered by first name.
    QHash<qint64, int> patientIndex;
    bool gelesen = db.durchlaufen(
        QStringLiteral("SELECT id, lastname, firstname, birth FROM patient ORDER BY lastname, firstname, id"), {},
        [&](const DbZeile &q) {
            patientIndex.insert(q.value(0).toLongLong(), g.patienten.size());
            g.patienten.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(),
                                q.value(3).toString(), QDate()});
        });
    gelesen = gelesen && db.durchlaufen(naechsteHausarztTermine(db.art()),
                                        {{QStringLiteral(":heute"), heute.toString(QStringLiteral("yyyy-MM-dd"))}},
                                        [&](const DbZeile &q) {
                                            const auto p = patientIndex.constFind(q.value(0).toLongLong());
                                            if (p != patientIndex.constEnd())
                                                g.patienten[*p].hausarztTermin = tagLesen(q.value(1));
                                        });

    // The catalogue once, not joined to each of the lines.
    QHash<qint64, int> packungIndex;
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
                                 packungIndex.insert(q.value(0).toLongLong(), g.packungen.size());
                                 g.packungen.append({q.value(4).toString(), q.value(1).toString(),
                                                     q.value(2).toString(), einheiten ? text : QString(), einheiten});
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
        return g;

    // Every line is read and checked once; which of them are listed depends
    // on the day asked for, and is decided per fill. A condition in SQL
    // leaving out only lines that certainly last (stored values checked,
    // the range computed with a margin for single precision) was measured
    // to cost SQLite about what each line left out saves here: in the
    // sample files about half of all lines are listed, and the family-doctor
    // appointments give each patient a day of its own.
    gelesen = db.durchlaufen(
        QStringLiteral("SELECT id, pat_id, med_id, ordnung, tag, stand, morgen, mittag, abend, nacht FROM einnahme"),
        {}, [&](const DbZeile &q) {
            // A line of no patient is shown nowhere.
            const auto p = patientIndex.constFind(q.value(1).toLongLong());
            if (p == patientIndex.constEnd())
                return;
            Bedarfsstand stand = bedarfsstandBerechnen(q.value(5), q.value(4),
                                                       {q.value(6), q.value(7), q.value(8), q.value(9)}, heute);
            // Without daily consumption a line is never listed, whatever the day.
            if (stand.fehler.isEmpty() && !(stand.verbrauch > 0))
                return;
            const qint64 id = q.value(0).toLongLong();
            g.posten.append({id, *p, packungIndex.value(q.value(2).toLongLong(), -1), q.value(3), angefordert.value(id),
                             std::move(stand)});
        });
    if (!gelesen)
        return g;
    // The order depends on the day read for only: a fill takes the lines
    // it lists as they stand.
    postenOrdnen(g.posten);
    *ok = true;
    return g;
}

Bedarfsliste bedarfAuswerten(const Bedarfsgrundlage &grundlage, const QDate &bis, bool bisHausarzt)
{
    Bedarfsliste liste;
    liste.patienten = grundlage.patienten;
    QVector<QDate> stichtage;
    stichtage.reserve(grundlage.patienten.size());
    for (const Bedarfspatient &p : grundlage.patienten)
        stichtage.append(bedarfStichtag(bis, p.hausarztTermin, bisHausarzt));
    // Room for every line that could be listed, taken only as it is filled.
    liste.zeilen.reserve(grundlage.posten.size());
    const Bedarfspackung ohnePackung;
    for (const Bedarfsposten &z : grundlage.posten) {
        const Bedarfspackung &k = z.packung < 0 ? ohnePackung : grundlage.packungen.at(z.packung);
        std::optional<Bedarf> b = bedarfPruefen(z.stand, grundlage.heute, stichtage.at(z.patient), k.einheiten);
        if (!b)
            continue;
        liste.zeilen.append({z.einnahme, z.patient, z.ordnung, k.medizin, k.handelsname, k.dosis, k.einheitenText,
                             z.angefordert, std::move(*b)});
    }
    return liste;
}

Bedarfsliste bedarfLesen(DbSitzung &db, const QDate &heute, const QDate &bis, bool bisHausarzt, bool *ok)
{
    const Bedarfsgrundlage grundlage = bedarfEinlesen(db, heute, ok);
    return *ok ? bedarfAuswerten(grundlage, bis, bisHausarzt) : Bedarfsliste();
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
