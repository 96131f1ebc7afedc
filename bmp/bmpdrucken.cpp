// SPDX-License-Identifier: GPL-3.0-or-later
// The chosen patient's medication plan (BMP) as a PDF file with its code.
#include "app/mainwindow.h"

#include "bmp/bmppdf.h"
#include "bmp/bmpschreiben.h"
#include "bmp/pzn.h"
#include "bmp/zusatztabellen.h"
#include "pdf/seiten.h"

#include <QHash>
#include <QSqlRecord>
#include <QUuid>

namespace {

// Collects what keeps the plan from being written, naming each field.
struct Pruefung {
    QStringList maengel;
    QStringList gekuerzt; // printed shortened; the user is told

    // The text in Latin-1, or a note naming the field and the characters.
    QString text(const QString &feld, const QString &wert, int hoechstens)
    {
        const QString t = latin1(feld, wert);
        if (t.size() > hoechstens)
            maengel << QStringLiteral("%1 \u201E%2\u201C ist l\u00E4nger als die %3 Zeichen, die der "
                                      "Medikationsplan erlaubt.")
                           .arg(feld, wert)
                           .arg(hoechstens);
        return t;
    }

    // A text the plan may show cut: what does not fit ends in "...", the
    // Latin-1 form of the ellipsis the printed plan uses; the line in
    // Kalvoria keeps it whole.
    QString gekuerzterText(const QString &feld, const QString &wert, int hoechstens)
    {
        const QString t = latin1(feld, wert);
        if (t.size() <= hoechstens)
            return t;
        gekuerzt << QStringLiteral("%1 \u201E%2\u201C").arg(feld, wert);
        return t.left(hoechstens - 3).trimmed() + QStringLiteral("...");
    }

private:
    QString latin1(const QString &feld, const QString &wert)
    {
        QString fremd;
        const QString t = latin1Umschreiben(wert.trimmed(), &fremd);
        if (!fremd.isEmpty())
            maengel << QStringLiteral("%1 \u201E%2\u201C: Die Zeichen \u201E%3\u201C gibt es im Zeichensatz des "
                                      "Medikationsplans nicht.")
                           .arg(feld, wert, fremd);
        // The format's manual line break may not come from the user's text.
        return QString(t).replace(QLatin1Char('~'), QLatin1Char('-'));
    }
};

// A unit text that the key table knows is written as its code.
void einheitSetzen(BmpEintrag &e, const QString &einheit)
{
    static const char codes[] = "#0123456789abcdefghijklmnopqrstuv";
    for (const char c : codes) {
        if (c && bmpEinheitText(QString(QLatin1Char(c))) == einheit) {
            e.einheitCode = QString(QLatin1Char(c));
            return;
        }
    }
    if (einheit.size() >= 2)
        e.einheitText = einheit;
}

} // namespace

std::optional<BmpPlan> MainWindow::bmpPlanErstellen()
{
    if (aktuellerPatient.isEmpty()) {
        meldungZeigen(QStringLiteral("Bitte zuerst einen Patienten ausw\u00E4hlen."));
        return std::nullopt;
    }
    BmpPlan plan;
    plan.version = QString::fromLatin1(bmpVersion);
    plan.instanz = QUuid::createUuid().toString(QUuid::Id128).toUpper();
    plan.autor = bmpAussteller();
    plan.autor.zeit = aktuelleZeit().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    Pruefung p;
    QHash<QString, QString> pzn;
    QVector<QSqlRecord> texte;
    {
        DbSitzung db(*this);
        bool ok = false;
        const auto patient = db.lesen(QStringLiteral("SELECT firstname, lastname, birth FROM patient WHERE id=:id"),
                                      {{QStringLiteral(":id"), aktuellerPatient}}, &ok);
        if (!ok)
            return std::nullopt;
        if (patient.isEmpty()) {
            db.konflikt();
            return std::nullopt;
        }
        plan.patient.vorname = p.text(QStringLiteral("Vorname"), patient.first().value(0).toString(), 45);
        plan.patient.name = p.text(QStringLiteral("Name"), patient.first().value(1).toString(), 45);
        const QDate geburt = QDate::fromString(patient.first().value(2).toString(), QStringLiteral("dd.MM.yyyy"));
        plan.patient.geburt = geburt.toString(QStringLiteral("yyyyMMdd"));
        if (plan.patient.vorname.isEmpty() || plan.patient.name.isEmpty() || !geburt.isValid())
            p.maengel << QStringLiteral("Der Medikationsplan braucht Vorname, Name und Geburtstag des Patienten; "
                                        "bitte auf der Seite \u201EPatientenliste\u201C erg\u00E4nzen.");
        if (zusatzDa(db, Zusatz::sortePzn)) {
            for (const QSqlRecord &r : db.lesen(QStringLiteral("SELECT e.id, p.pzn FROM einnahme e JOIN sorte_pzn p "
                                                               "ON p.sorte_id = e.med_id WHERE e.pat_id=:pat"),
                                                {{QStringLiteral(":pat"), aktuellerPatient}}))
                pzn.insert(r.value(0).toString(), r.value(1).toString());
        }
        if (zusatzDa(db, Zusatz::planText))
            texte = db.lesen(QStringLiteral("SELECT nach_einnahme, art, text, zusatz, abschnitt FROM plan_text "
                                            "WHERE pat_id=:pat ORDER BY ordnung, id"),
                             {{QStringLiteral(":pat"), aktuellerPatient}});
    }
    plan.autor.name = p.text(QStringLiteral("Ausgedruckt von"), plan.autor.name, 80);
    plan.autor.strasse = p.text(QStringLiteral("Stra\u00DFe"), plan.autor.strasse, 30);
    plan.autor.ort = p.text(QStringLiteral("Ort"), plan.autor.ort, 20);
    plan.autor.telefon = p.text(QStringLiteral("Telefon"), plan.autor.telefon, 20);

    // Lines that share a heading form one section, in the plan's order.
    QString letzteUeberschrift;
    const auto abschnittFuer = [&](const QString &ueberschrift) -> BmpAbschnitt & {
        if (plan.abschnitte.isEmpty() || ueberschrift != letzteUeberschrift) {
            BmpAbschnitt a;
            // A heading whose code the written version lacks goes as free text.
            for (int c = 411; c <= 425; ++c) {
                const QString code = QString::number(c);
                if (!ueberschrift.isEmpty() && bmpAbschnittText(code) == ueberschrift &&
                    bmpAbschnittInVersion(code, plan.version))
                    a.code = code;
            }
            if (a.code.isEmpty())
                a.titel = ueberschrift;
            // Every section but the first needs a heading.
            if (a.titel.isEmpty() && a.code.isEmpty() && !plan.abschnitte.isEmpty())
                a.titel = QStringLiteral("Weitere Medikamente");
            plan.abschnitte.append(a);
            letzteUeberschrift = ueberschrift;
        }
        return plan.abschnitte.last();
    };
    const auto texteNach = [&](const QString &einnahme) {
        for (const QSqlRecord &r : texte) {
            if (r.value(0).toString() != einnahme)
                continue;
            BmpEintrag e;
            e.art = r.value(1).toString() == QLatin1String("R") ? BmpEintrag::rezept : BmpEintrag::freitext;
            e.text = p.text(QStringLiteral("Hinweiszeile"), r.value(2).toString(), 200);
            e.zusatz = p.text(QStringLiteral("Hinweiszeile"), r.value(3).toString(), 200);
            abschnittFuer(r.value(4).toString()).eintraege.append(e);
        }
    };

    for (int i = 0; i < einnahmeZeilen(); ++i) {
        // Aids are kept in stock but not taken: no line of the plan.
        if (einnahmeHilfe.at(i) == QLatin1String("1"))
            continue;
        const QString bezeichnung = einnahmeHandelsname.at(i).isEmpty() ? einnahmeMedizin.at(i)
                                                                        : einnahmeHandelsname.at(i);
        if (bezeichnung.isEmpty()) {
            p.maengel
                << QStringLiteral("Zeile %1 zeigt kein Medikament (seine Packung wurde gel\u00F6scht).").arg(i + 1);
            continue;
        }
        const PlanAngaben &angaben = einnahmePlan.at(i);
        BmpEintrag e;
        e.pzn = pzn.value(einnahmeId.at(i)).toLongLong();
        e.handelsname = p.gekuerzterText(QStringLiteral("Handelsname"), einnahmeHandelsname.at(i), 50);
        if (!einnahmeMedizin.at(i).isEmpty())
            e.wirkstoffe.append(
                {p.text(QStringLiteral("Medikament"), einnahmeMedizin.at(i), 80),
                 p.text(QStringLiteral("Dosis von \u201E%1\u201C").arg(bezeichnung), einnahmeDosis.at(i), 15)});
        if (angaben.ohneTagesverbrauch()) {
            const QString text = p.text(QStringLiteral("Dosis"), angaben.dosisText, 200);
            if (text.size() <= 20) {
                e.dosisText = text;
            } else {
                e.dosisText = QStringLiteral("siehe n\u00E4chste Zeile");
                e.zusatz = text;
            }
        } else if (!einnahmeFehler.at(i).isEmpty()) {
            p.maengel << QStringLiteral("\u201E%1\u201C: %2").arg(bezeichnung, einnahmeFehler.at(i));
        } else {
            const QString dosen[] = {einnahmeMorgen.at(i), einnahmeMittag.at(i), einnahmeAbend.at(i),
                                     einnahmeNacht.at(i)};
            bool alsText = false;
            for (int d = 0; d < 4; ++d) {
                const std::optional<QString> t = bmpDosisSchreiben(dosen[d].toDouble());
                alsText = alsText || !t;
                e.dosen[d] = t.value_or(QString());
            }
            // A dose the format has no value for is written in words, never rounded.
            if (alsText) {
                QStringList teile;
                for (const QString &d : dosen)
                    teile << QString(d).replace(QLatin1Char('.'), QLatin1Char(','));
                e.dosen = {};
                e.dosisText = teile.join(QLatin1Char('-')).left(20);
                if (teile.join(QLatin1Char('-')).size() > 20)
                    p.maengel << QStringLiteral("\u201E%1\u201C: Die Dosis %2 l\u00E4sst sich im Medikationsplan "
                                                "nicht schreiben.")
                                     .arg(bezeichnung, teile.join(QLatin1Char('-')));
            }
        }
        einheitSetzen(e, p.text(QStringLiteral("Einheit"), angaben.einheit, 20));
        e.formText = p.gekuerzterText(QStringLiteral("Form"), angaben.form, 7);
        e.hinweis = p.gekuerzterText(QStringLiteral("Hinweis"), angaben.hinweis, 80);
        e.grund = p.gekuerzterText(QStringLiteral("Grund"), angaben.grund, 50);
        if (e.zusatz.isEmpty())
            e.zusatz = p.text(QStringLiteral("Zusatzzeile"), angaben.zusatz, 200);
        abschnittFuer(p.text(QStringLiteral("\u00DCberschrift"), angaben.abschnitt, 50)).eintraege.append(e);
        texteNach(einnahmeId.at(i));
    }
    // Lines an imported plan had apart from its medications follow them.
    texteNach(QStringLiteral("0"));
    if (!p.maengel.isEmpty()) {
        meldungZeigen(QStringLiteral("Der Medikationsplan wurde nicht gedruckt:\n\n") +
                      p.maengel.join(QLatin1Char('\n')));
        return std::nullopt;
    }
    if (!p.gekuerzt.isEmpty())
        meldungZeigen(QStringLiteral("Diese Texte sind l\u00E4nger, als der Medikationsplan erlaubt; er zeigt sie "
                                     "gek\u00FCrzt, in Kalvoria bleiben sie vollst\u00E4ndig:\n\n") +
                      p.gekuerzt.join(QLatin1Char('\n')));
    // A plan without lines has no section.
    if (plan.abschnitte.size() == 1 && plan.abschnitte.first().eintraege.isEmpty())
        plan.abschnitte.clear();
    return plan;
}

void MainWindow::BmpDrucken()
{
    if (aktuellerPatient.isEmpty()) {
        meldungZeigen(QStringLiteral("Bitte zuerst einen Patienten ausw\u00E4hlen."));
        return;
    }
    // Who prints it is asked once and then kept.
    if (bmpAussteller().name.isEmpty()) {
        BmpAusstellerFenster();
        if (bmpAussteller().name.isEmpty())
            return;
    }
    const std::optional<BmpPlan> plan = bmpPlanErstellen();
    if (!plan)
        return;
    const BmpSeiten seiten = bmpSeitenTeilen(*plan);
    if (!seiten.fehler.isEmpty()) {
        meldungZeigen(seiten.fehler);
        return;
    }
    const QString datei = pdfNameWaehlen(*this, datenbankDatei);
    if (datei.isEmpty())
        return;
    const QString fehler = bmpPdfSchreiben(datei, seiten.seiten);
    if (!fehler.isEmpty()) {
        pdfFehler(*this, datei);
        return;
    }
    pdfOeffnen(*this, datei);
}
