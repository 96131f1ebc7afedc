// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A test world for the intake plan, the views and the appointments: data
// written straight into the file before the program starts, and short ways
// to reach what the user sees.

#include "testhilfe.h"

#include <QAbstractButton>
#include <QDate>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>

const QDate heute(2026, 12, 6); // the test clock's day

struct Welt {
    Umgebung env;
    QString f = env.standardDatei();
    std::unique_ptr<MainWindow> w;

    Welt() { env.datenbankAnlegen(f); }

    QVariant wert(const QString &sql, const QVariantList &werte = {}) const { return Datei::wert(f, sql, werte); }
    int anzahl(const char *tabelle) const
    {
        return wert(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(tabelle))).toInt();
    }
    int letzte(const char *tabelle) const
    {
        return wert(QStringLiteral("SELECT max(id) FROM %1").arg(QLatin1String(tabelle))).toInt();
    }
    int patient(const QString &name)
    {
        Datei::ausfuehren(f, QStringLiteral("INSERT INTO patient (firstname, lastname) VALUES ('Anna', ?)"), {name});
        return letzte("patient");
    }
    // A medication with one package; the package's key.
    int packung(const QString &medizin, const QString &handelsname, const QString &dosis = QStringLiteral("5 mg"),
                const QVariant &einheiten = 30)
    {
        Datei::ausfuehren(f, QStringLiteral("INSERT INTO medikament (medizin) VALUES (?)"), {medizin});
        Datei::ausfuehren(
            f, QStringLiteral("INSERT INTO sorte (medizin_id, handelsname, dosis, packung) VALUES (?, ?, ?, ?)"),
            {letzte("medikament"), handelsname, dosis, einheiten});
        return letzte("sorte");
    }
    int einnahme(int pat, int sorte, const QVariant &tag, const QVariant &stand, double morgen, double mittag,
                 double abend, double nacht, int ordnung, int hilfe = 0)
    {
        Datei::ausfuehren(
            f,
            QStringLiteral("INSERT INTO einnahme (pat_id, med_id, tag, stand, morgen, mittag, abend, nacht, "
                           "hilfe, ordnung) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {pat, sorte, tag, stand, morgen, mittag, abend, nacht, hilfe, ordnung});
        return letzte("einnahme");
    }
    int termin(int pat, const QString &arzt, const QVariant &datum)
    {
        Datei::ausfuehren(f, QStringLiteral("INSERT INTO termine (pata_id, arzt, arzt_date) VALUES (?, ?, ?)"),
                          {pat, arzt, datum});
        return letzte("termine");
    }

    void starten() { w = env.starten(); }
    QTableWidget *tabelle(const char *name) const { return teil<QTableWidget>(w.get(), QString::fromLatin1(name)); }
    QString text(const char *label) const { return teil<QLabel>(w.get(), QString::fromLatin1(label))->text(); }
    void knopf(const char *name) const { klicken(teil<QAbstractButton>(w.get(), QString::fromLatin1(name))); }
    // What the nine detail boxes of the current line show.
    QStringList details() const
    {
        QStringList t;
        for (const char *n : {"detailMedizin", "detailMorgen", "detailMittag", "detailAbend", "detailNacht",
                              "detailDosis", "detailPackung", "detailDatum", "detailBestand"})
            t << text(n);
        return t;
    }
    void waehlen(const char *tabellenName, int textSpalte, const QString &text) const
    {
        QTableWidget *t = tabelle(tabellenName);
        const int z = spalte(t, textSpalte).indexOf(text);
        if (z < 0)
            return fehlschlag(text + QStringLiteral(" not listed in ") + QLatin1String(tabellenName));
        zelleKlicken(t, z, textSpalte);
    }
    void patientWaehlen(const QString &name) const { waehlen("tabellePatientenwahl", 1, name); }
    void packungWaehlen(const QString &handelsname) const { waehlen("tabelleSortenwahl", 2, handelsname); }
    void zeileWaehlen(int z) const { zelleKlicken(tabelle("tabelleZuordnung"), z, 1); }
};

inline QProgressBar *balken(QTableWidget *uebersicht, int zeile)
{
    return qobject_cast<QProgressBar *>(uebersicht->cellWidget(zeile, 1));
}

// The mark on a line's last day in the overview: "rot", "gelb", another
// colour's name, or "" for none.
inline QString marke(QTableWidget *uebersicht, int zeile)
{
    const QBrush b = uebersicht->item(zeile, 4)->background();
    const QColor c = b.style() == Qt::NoBrush ? QColor() : b.color();
    const QString name = c.isValid() ? c.name() : QString();
    return name == QLatin1String("#ff0000")   ? QStringLiteral("rot")
           : name == QLatin1String("#ffff00") ? QStringLiteral("gelb")
                                              : name;
}
