#include "testhilfe.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

namespace {

// Receives what the program hands to the desktop to open.
class Oeffner : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void oeffnen(const QUrl &url) { urls << url; }
};

void dateiSchreiben(const QString &pfad)
{
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("%PDF-1.4\n");
}

QString ausfuehren(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Label {
    QString text;
    QRect rechteck;
    Qt::Alignment ausrichtung;
    bool fett;
    bool kursiv;
};

} // namespace

class HilfeTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        oeffner = std::make_unique<Oeffner>();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), oeffner.get(), "oeffnen");
        arbeitsordnerVorher = QDir::currentPath();
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir::setCurrent(arbeitsordnerVorher);
        if (!nebenProgramm.isEmpty())
            QFile::remove(nebenProgramm);
        nebenProgramm.clear();
    }

    void ueberFenster()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        auto w = env.starten();
        const QString titelVorher = w->windowTitle();

        for (int mal = 0; mal < 2; ++mal) {
            QList<Label> labels;
            QSize groesse;
            bool modal = false;
            QString knopf;
            QRect knopfRechteck;
            beiDialog([&](QDialog *d) {
                groesse = d->size();
                modal = QApplication::activeModalWidget() == d && d->isModal();
                for (QLabel *l : d->findChildren<QLabel *>())
                    labels << Label{l->text(), l->geometry(), l->alignment(), l->font().bold(), l->font().italic()};
                const auto knoepfe = d->findChildren<QPushButton *>();
                if (knoepfe.size() != 1) {
                    d->reject();
                    return;
                }
                knopf = knoepfe.first()->text();
                knopfRechteck = knoepfe.first()->geometry();
                klicken(knoepfe.first());
            });
            teil<QAction>(w.get(), QStringLiteral("aktionUeber"))->trigger();

            QVERIFY(modal);
            QCOMPARE(groesse, QSize(380, 240));
            QCOMPARE(knopf, QStringLiteral("Ok"));
            QCOMPARE(knopfRechteck, QRect(100, 195, 180, 30));
            const Qt::Alignment mitte = Qt::AlignCenter;
            // The logotype: "TIRVA" bold against the right edge at x 190, "kesh" italic from there.
            const QList<Label> erwartet = {
                {QStringLiteral("Version 2017_06_12_3"), QRect(20, 5, 340, 50), mitte, true, false},
                {QStringLiteral("Kalvoria ist kostenlos.\nKalvoria speichert alles in lesbaren Textdateien.\n"
                                "Kalvoria speichert nichts im Internet."),
                 QRect(20, 45, 340, 50), mitte, false, false},
                {QStringLiteral("Kalvoria is for free.\nKalvoria saves all in readable textfiles.\n"
                                "Kalvoria saves nothing in the web."),
                 QRect(20, 95, 340, 50), mitte, false, false},
                {QStringLiteral("by"), QRect(20, 145, 340, 15), mitte, false, false},
                {QStringLiteral("TIRVA"), QRect(20, 160, 170, 15), Qt::AlignRight | Qt::AlignVCenter, true, false},
                {QStringLiteral("kesh"), QRect(190, 160, 170, 15), Qt::AlignLeft | Qt::AlignVCenter, false, true},
            };
            QCOMPARE(labels.size(), erwartet.size());
            for (int i = 0; i < erwartet.size(); ++i) {
                QCOMPARE(labels.at(i).text, erwartet.at(i).text);
                QCOMPARE(labels.at(i).rechteck, erwartet.at(i).rechteck);
                QCOMPARE(labels.at(i).ausrichtung, erwartet.at(i).ausrichtung);
                QCOMPARE(labels.at(i).fett, erwartet.at(i).fett);
                QCOMPARE(labels.at(i).kursiv, erwartet.at(i).kursiv);
            }

            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            QCOMPARE(w->findChildren<QDialog *>().size(), 0);
            QCOMPARE(w->windowTitle(), titelVorher);
        }
        QCOMPARE(env.meldungen, QStringList());
    }

    void hilfeNebenDemProgrammZuerst()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        auto w = env.starten();
        const QString neben = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("Kalvoria.pdf"));
        QVERIFY2(!QFile::exists(neben), "a help file is already beside the test program");
        nebenProgramm = neben;
        dateiSchreiben(nebenProgramm);
        // A working folder whose name a URL must escape.
        const QString ordner = env.basis() + QStringLiteral("/Hilfe #1 100% f\u00FCr Pflege");
        QVERIFY(QDir().mkpath(ordner));
        dateiSchreiben(ordner + QStringLiteral("/Kalvoria.pdf"));
        QVERIFY(QDir::setCurrent(ordner));
        auto *hilfe = teil<QAction>(w.get(), QStringLiteral("aktionHilfe"));

        hilfe->trigger();
        QCOMPARE(oeffner->urls.size(), 1);
        QCOMPARE(oeffner->urls.at(0).toLocalFile(), nebenProgramm);

        QVERIFY(QFile::remove(nebenProgramm));
        hilfe->trigger();
        QCOMPARE(oeffner->urls.size(), 2);
        QVERIFY(oeffner->urls.at(1).isLocalFile());
        QCOMPARE(oeffner->urls.at(1).toLocalFile(), ordner + QStringLiteral("/Kalvoria.pdf"));
        QCOMPARE(env.meldungen, QStringList());
    }

    void hilfeFehlt()
    {
        Umgebung env;
        env.datenbankAnlegen(env.standardDatei());
        auto w = env.starten();
        QVERIFY(QDir::setCurrent(env.basis()));
        teil<QAction>(w.get(), QStringLiteral("aktionHilfe"))->trigger();

        QCOMPARE(oeffner->urls.size(), 0);
        QCOMPARE(env.meldungen.size(), 1);
        QVERIFY(env.meldungen.first().contains(QStringLiteral("Kalvoria.pdf")));
        QVERIFY(env.meldungen.first().contains(QStringLiteral("nicht gefunden")));
        QVERIFY(env.meldungen.first().contains(QDir::toNativeSeparators(env.basis())));
    }

    // The build puts the guide beside the program; it must be a readable
    // PDF with its chapters and pictures.
    void gebauteHilfe()
    {
        const QString pdf = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).absoluteFilePath(
            QStringLiteral("Kalvoria.pdf"));
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        QVERIFY(QFile::exists(QFileInfo(pdf).absolutePath() + QStringLiteral("/kalvoria")));

        const QString info = ausfuehren(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(!info.isEmpty(), "pdfinfo could not read the guide");
        QRegularExpressionMatch seiten = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        QVERIFY(seiten.hasMatch());
        QVERIFY(seiten.captured(1).toInt() >= 8);

        const QString text = ausfuehren(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString &kapitel :
             {QStringLiteral("Wof\u00FCr Kalvoria da ist"), QStringLiteral("\u00DCbersicht"),
              QStringLiteral("Verordnungsplan"), QStringLiteral("Einstellungen"), QStringLiteral("Apotheke"),
              QStringLiteral("Zuordnung bearbeiten"), QStringLiteral("Arzttermine"), QStringLiteral("reicht bis"),
              QStringLiteral("Medikamentenplan drucken"), QStringLiteral("Datenbank kopieren nach..."),
              QStringLiteral("Datenbank verschieben nach..."), QStringLiteral("mit vorhandener Datenbank verbinden"),
              QStringLiteral("Reparieren"), QStringLiteral("gelb"), QStringLiteral("rot")})
            QVERIFY2(text.contains(kapitel), qPrintable(kapitel));

        // Pictures of the program, not icons: "page num type width ...".
        const QString liste = ausfuehren(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        int bilder = 0;
        for (const QString &zeile : liste.split(QLatin1Char('\n'))) {
            const QStringList feld = zeile.simplified().split(QLatin1Char(' '));
            if (feld.size() > 4 && feld.at(2) == QLatin1String("image") && feld.at(3).toInt() >= 100)
                ++bilder;
        }
        QVERIFY2(bilder >= 8, qPrintable(liste));
    }

private:
    std::unique_ptr<Oeffner> oeffner;
    QString arbeitsordnerVorher;
    QString nebenProgramm;
};

QTEST_MAIN(HilfeTest)
#include "tst_hilfe.moc"
