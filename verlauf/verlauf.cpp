// SPDX-License-Identifier: GPL-3.0-or-later
#include "verlauf/verlauf.h"

#include "intake/bestand.h"
#include "text/textformat.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace Verlaufsart {
const QString zugeordnet = QStringLiteral("Zuordnung eingetragen");
const QString zuordnungGeloescht = QStringLiteral("Zuordnung gel\u00F6scht");
const QString dosisGeaendert = QStringLiteral("Dosis ge\u00E4ndert");
const QString bestandGezaehlt = QStringLiteral("Bestand gez\u00E4hlt");
const QString packungenGebucht = QStringLiteral("Packungen gebucht");
const QString hilfsmittelGeaendert = QStringLiteral("Hilfsmittel ge\u00E4ndert");
const QString verschoben = QStringLiteral("Zuordnung verschoben");
const QString patientAngelegt = QStringLiteral("Patient angelegt");
const QString patientGeaendert = QStringLiteral("Patient ge\u00E4ndert");
const QString patientGeloescht = QStringLiteral("Patient gel\u00F6scht");
const QString medikamentAngelegt = QStringLiteral("Medikament angelegt");
const QString medikamentGeaendert = QStringLiteral("Medikament ge\u00E4ndert");
const QString medikamentGeloescht = QStringLiteral("Medikament gel\u00F6scht");
const QString packungAngelegt = QStringLiteral("Packung angelegt");
const QString packungGeaendert = QStringLiteral("Packung ge\u00E4ndert");
const QString packungGeloescht = QStringLiteral("Packung gel\u00F6scht");
const QString terminEingetragen = QStringLiteral("Termin eingetragen");
const QString terminGeaendert = QStringLiteral("Termin ge\u00E4ndert");
const QString terminGeloescht = QStringLiteral("Termin gel\u00F6scht");
const QString wiederhergestellt = QStringLiteral("Sicherung wiederhergestellt");
const QString rezeptAngefordert = QStringLiteral("Rezept angefordert");
const QString anforderungZurueck = QStringLiteral("Anforderung zur\u00FCckgenommen");
} // namespace Verlaufsart

namespace {

// The table and its two indexes; the triggers that keep every row as it was
// written (an earlier version or a slip of this one cannot rewrite the past)
// come from the dialect.
const char *const verlaufSchema[] = {
    "CREATE TABLE IF NOT EXISTS verlauf (id INTEGER PRIMARY KEY AUTOINCREMENT, zeit TEXT NOT NULL, art TEXT NOT NULL, "
    "pat_id INTEGER, patient TEXT, einnahme_id INTEGER, medikament_id INTEGER, sorte_id INTEGER, termin_id INTEGER, "
    "betrifft TEXT, alt TEXT, neu TEXT, benutzer TEXT)",
    "CREATE INDEX IF NOT EXISTS verlauf_pat_id ON verlauf (pat_id)",
    "CREATE INDEX IF NOT EXISTS verlauf_einnahme_id ON verlauf (einnahme_id)",
};

const char *const einnahmeSpalten =
    "SELECT einnahme.id, einnahme.pat_id, einnahme.med_id, einnahme.tag, einnahme.stand, einnahme.morgen, "
    "einnahme.mittag, einnahme.abend, einnahme.nacht, einnahme.hilfe, einnahme.ordnung, sorte.handelsname, "
    "sorte.dosis, sorte.packung, sorte.medizin_id, medikament.medizin, patient.lastname, patient.firstname "
    "FROM einnahme LEFT JOIN sorte ON einnahme.med_id = sorte.id LEFT JOIN medikament ON sorte.medizin_id = "
    "medikament.id LEFT JOIN patient ON einnahme.pat_id = patient.id WHERE ";

Einnahmestand einnahmeAus(const QSqlRecord &r)
{
    Einnahmestand z;
    z.patient = r.value(1);
    z.sorte = r.value(2);
    z.tag = r.value(3);
    z.stand = r.value(4);
    z.morgen = r.value(5);
    z.mittag = r.value(6);
    z.abend = r.value(7);
    z.nacht = r.value(8);
    z.hilfe = r.value(9);
    z.ordnung = r.value(10);
    z.packung = r.value(13);
    z.medikament = r.value(14);
    z.betrifft = sorteBeschreibung(r.value(15).toString(), r.value(11).toString(), r.value(12).toString());
    z.patientName = personText(r.value(16).toString(), r.value(17).toString());
    return z;
}

QString tagText(const QVariant &tag)
{
    const QDate d = QDate::fromString(tag.toString(), QStringLiteral("yyyy-MM-dd"));
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : tag.toString();
}

} // namespace

bool verlaufVorhanden(DbSitzung &db)
{
    return tabelleDa(db, QStringLiteral("verlauf"));
}

QStringList verlaufTabelleAnweisungen(Datenbankart art)
{
    QStringList anweisungen;
    for (const char *sql : verlaufSchema)
        anweisungen << Dialekt::tabelle(art, QString::fromLatin1(sql));
    return anweisungen;
}

QStringList verlaufSchutzAnweisungen(Datenbankart art)
{
    return Dialekt::unveraenderlich(art, QStringLiteral("verlauf"),
                                    QStringLiteral("Der Verlauf wird nicht ge\u00E4ndert."),
                                    QStringLiteral("Der Verlauf wird nicht gel\u00F6scht."));
}

bool verlaufAnlegen(DbSitzung &db)
{
    if (verlaufVorhanden(db))
        return true;
    for (const QString &sql : verlaufTabelleAnweisungen(db.art()) + verlaufSchutzAnweisungen(db.art())) {
        if (!db.aendern(sql))
            return false;
    }
    return true;
}

bool verlaufSchreiben(DbSitzung &db, const QDateTime &zeit, const Verlaufseintrag &e)
{
    // Files of earlier versions have no history yet: it begins with the
    // first change this version makes.
    if (!verlaufAnlegen(db))
        return false;
    return db.aendern(
        QStringLiteral("INSERT INTO verlauf (zeit, art, pat_id, patient, einnahme_id, medikament_id, sorte_id, "
                       "termin_id, betrifft, alt, neu, benutzer) VALUES (:zeit, :art, :pat, :patient, :einnahme, "
                       ":medikament, :sorte, :termin, :betrifft, :alt, :neu, :benutzer)"),
        {{QStringLiteral(":zeit"), zeit.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))},
         {QStringLiteral(":art"), e.art},
         {QStringLiteral(":pat"), e.patient},
         {QStringLiteral(":patient"), e.patientName},
         {QStringLiteral(":einnahme"), e.einnahme},
         {QStringLiteral(":medikament"), e.medikament},
         {QStringLiteral(":sorte"), e.sorte},
         {QStringLiteral(":termin"), e.termin},
         {QStringLiteral(":betrifft"), e.betrifft},
         {QStringLiteral(":alt"), e.alt},
         {QStringLiteral(":neu"), e.neu},
         {QStringLiteral(":benutzer"), benutzerName()}});
}

QString benutzerName()
{
    for (const char *name : {"USER", "USERNAME", "LOGNAME"}) {
        const QString wert = qEnvironmentVariable(name).trimmed();
        if (!wert.isEmpty())
            return wert;
    }
    return QString();
}

QString personText(const QString &nachname, const QString &vorname)
{
    const QString n = nachname.trimmed();
    const QString v = vorname.trimmed();
    if (n.isEmpty() || v.isEmpty())
        return n + v;
    return n + QStringLiteral(", ") + v;
}

QString dosenText(const std::array<double, 4> &dosen)
{
    QStringList t;
    for (double d : dosen)
        t << mengeFormatieren(static_cast<float>(d));
    return t.join(QLatin1Char('-'));
}

QString bestandVerlaufText(const std::optional<double> &bestand)
{
    return bestand ? bestandText(*bestand) : QStringLiteral("unbekannt");
}

QString packungenText(double anzahl)
{
    const QString zahl = zahlText(anzahl);
    return zahl + (qAbs(anzahl) == 1.0 ? QStringLiteral(" Packung") : QStringLiteral(" Packungen"));
}

QPair<QString, QString> feldAenderungen(const QVector<Feldwert> &felder)
{
    QStringList alt;
    QStringList neu;
    for (const Feldwert &f : felder) {
        if (f.alt == f.neu)
            continue;
        alt << f.name + QStringLiteral(": ") + f.alt;
        neu << f.name + QStringLiteral(": ") + f.neu;
    }
    return {alt.join(QStringLiteral("; ")), neu.join(QStringLiteral("; "))};
}

QString felderText(const QVector<Feldwert> &felder, bool neueWerte)
{
    QStringList t;
    for (const Feldwert &f : felder) {
        const QString &wert = neueWerte ? f.neu : f.alt;
        if (!wert.trimmed().isEmpty())
            t << f.name + QStringLiteral(": ") + wert;
    }
    return t.join(QStringLiteral("; "));
}

std::optional<Einnahmestand> einnahmeLesen(DbSitzung &db, const QVariant &id, bool *ok)
{
    const auto zeilen = db.lesen(QString::fromLatin1(einnahmeSpalten) + QStringLiteral("einnahme.id = :id"),
                                 {{QStringLiteral(":id"), id}}, ok);
    if (zeilen.isEmpty())
        return std::nullopt;
    return einnahmeAus(zeilen.first());
}

QVector<QPair<QVariant, Einnahmestand>> einnahmenLesen(DbSitzung &db, const QString &wo, const Werte &werte, bool *ok)
{
    QVector<QPair<QVariant, Einnahmestand>> ergebnis;
    for (const QSqlRecord &r :
         db.lesen(QString::fromLatin1(einnahmeSpalten) + wo + QStringLiteral(" ORDER BY einnahme.id"), werte, ok))
        ergebnis.append({r.value(0), einnahmeAus(r)});
    return ergebnis;
}

QString patientNameLesen(DbSitzung &db, const QVariant &patient, bool *ok)
{
    const auto zeilen = db.lesen(QStringLiteral("SELECT lastname, firstname FROM patient WHERE id = :id"),
                                 {{QStringLiteral(":id"), patient}}, ok);
    return zeilen.isEmpty() ? QString()
                            : personText(zeilen.first().value(0).toString(), zeilen.first().value(1).toString());
}

QString sorteBeschreibungLesen(DbSitzung &db, const QVariant &sorte, bool *ok)
{
    const auto zeilen = db.lesen(QStringLiteral("SELECT medikament.medizin, sorte.handelsname, sorte.dosis FROM sorte "
                                                "LEFT JOIN medikament ON sorte.medizin_id = medikament.id WHERE "
                                                "sorte.id = :id"),
                                 {{QStringLiteral(":id"), sorte}}, ok);
    if (zeilen.isEmpty())
        return QString();
    const QSqlRecord &r = zeilen.first();
    return sorteBeschreibung(r.value(0).toString(), r.value(1).toString(), r.value(2).toString());
}

QString sorteBeschreibung(const QString &medizin, const QString &handelsname, const QString &dosis)
{
    QString t = medizin.trimmed();
    if (!handelsname.trimmed().isEmpty())
        t += (t.isEmpty() ? QString() : QStringLiteral(" \u2013 ")) + handelsname.trimmed();
    if (!dosis.trimmed().isEmpty())
        t += (t.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(") + dosis.trimmed() +
             QStringLiteral(")");
    return t.isEmpty() ? QStringLiteral("unbekannte Packung") : t;
}

QString terminText(const QString &arzt, const QVariant &datum)
{
    return arzt + QStringLiteral(" am ") + tagText(datum);
}

std::optional<Terminstand> terminLesen(DbSitzung &db, const QVariant &id, const QString &art, bool *ok)
{
    const auto zeilen = db.lesen(QStringLiteral("SELECT termine.pata_id, termine.arzt, termine.arzt_date, "
                                                "patient.lastname, patient.firstname FROM termine LEFT JOIN patient ON "
                                                "termine.pata_id = patient.id WHERE termine.id = :id"),
                                 {{QStringLiteral(":id"), id}}, ok);
    if (zeilen.isEmpty())
        return std::nullopt;
    const QSqlRecord &r = zeilen.first();
    Terminstand t;
    t.arzt = r.value(1).toString();
    t.datum = tagText(r.value(2));
    t.eintrag.art = art;
    t.eintrag.patient = r.value(0);
    t.eintrag.patientName = personText(r.value(3).toString(), r.value(4).toString());
    t.eintrag.termin = id;
    t.eintrag.betrifft = terminText(t.arzt, r.value(2));
    return t;
}

std::optional<double> bestandHeute(const Einnahmestand &z, const QDate &heute)
{
    const Zeilenpruefung pruefung = zeilePruefen(z.stand, z.tag, {z.morgen, z.mittag, z.abend, z.nacht});
    if (!pruefung.fehler.isEmpty())
        return std::nullopt;
    const Bestand b = bestandBerechnen(z.stand.toFloat(), z.morgen.toFloat(), z.mittag.toFloat(), z.abend.toFloat(),
                                       z.nacht.toFloat(), z.tag.toDate(), heute);
    return bestandText(static_cast<double>(b.heute)).toDouble();
}

Verlaufseintrag einnahmeEintrag(const QString &art, const QVariant &id, const Einnahmestand &zeile)
{
    Verlaufseintrag e;
    e.art = art;
    e.patient = zeile.patient;
    e.patientName = zeile.patientName;
    e.einnahme = id;
    e.sorte = zeile.sorte;
    e.medikament = zeile.medikament;
    e.betrifft = zeile.betrifft;
    return e;
}

std::array<double, 4> einnahmeDosen(const Einnahmestand &zeile)
{
    return {zeile.morgen.toDouble(), zeile.mittag.toDouble(), zeile.abend.toDouble(), zeile.nacht.toDouble()};
}

QString einnahmeText(const Einnahmestand &zeile)
{
    QString t = dosenText(einnahmeDosen(zeile)) + QStringLiteral(", Bestand ") + zahlText(zeile.stand.toDouble()) +
                QStringLiteral(" am ") + tagText(zeile.tag);
    if (zeile.hilfe.toBool())
        t += QStringLiteral(", Hilfsmittel");
    return t;
}

Verlaufseintrag einnahmeEntfernt(const QVariant &id, const Einnahmestand &zeile, const QDate &heute,
                                 const QString &anlass)
{
    Verlaufseintrag e = einnahmeEintrag(Verlaufsart::zuordnungGeloescht, id, zeile);
    e.alt = dosenText(einnahmeDosen(zeile)) + QStringLiteral(", Bestand heute ") +
            bestandVerlaufText(bestandHeute(zeile, heute));
    e.neu = anlass;
    return e;
}

bool verlaufAnforderung(DbSitzung &db, const QDateTime &zeit, const QVariant &id, const QDate &vorher,
                        const QDate &nachher)
{
    bool ok = false;
    const std::optional<Einnahmestand> zeile = einnahmeLesen(db, id, &ok);
    if (!zeile)
        return false;
    Verlaufseintrag e = einnahmeEintrag(
        nachher.isValid() ? Verlaufsart::rezeptAngefordert : Verlaufsart::anforderungZurueck, id, *zeile);
    const auto am = [](const QDate &tag) {
        return tag.isValid() ? QStringLiteral("angefordert am ") + tag.toString(QStringLiteral("dd.MM.yyyy"))
                             : QString();
    };
    e.alt = am(vorher);
    e.neu = am(nachher);
    return verlaufSchreiben(db, zeit, e);
}

bool verlaufBuchung(DbSitzung &db, const QDateTime &zeit, const QVariant &id, double vorher, double nachher,
                    double packungen, double einheiten)
{
    bool ok = false;
    const std::optional<Einnahmestand> zeile = einnahmeLesen(db, id, &ok);
    if (!zeile)
        return false;
    Verlaufseintrag e = einnahmeEintrag(Verlaufsart::packungenGebucht, id, *zeile);
    e.alt = QStringLiteral("Bestand ") + bestandText(vorher);
    e.neu = QStringLiteral("Bestand ") + bestandText(nachher) + QStringLiteral(" (") + packungenText(packungen) +
            QStringLiteral(" zu je ") + zahlText(einheiten) + QStringLiteral(")");
    return verlaufSchreiben(db, zeit, e);
}
