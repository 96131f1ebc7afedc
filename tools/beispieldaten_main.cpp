// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a sample database to look around in the program or to measure it:
//     kalvoria_beispieldaten <familie|pflegedienst|gross> <file> [--saat N] [--heute yyyy-MM-dd]
//     kalvoria_beispieldaten --help | --version
// The same size, seed and day give the same file contents. Stocks and
// appointments lie around the given day (default: today).
#include "tools/beispieldaten.h"

#include "app/programm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

// The usage on stderr for a wrong call, on stdout for --help.
int gebrauch(bool erbeten = false)
{
    std::fprintf(erbeten ? stdout : stderr, "usage: kalvoria_beispieldaten <familie|pflegedienst|gross> <file> "
                                            "[--saat N] [--heute yyyy-MM-dd]\n");
    return erbeten ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList argumente = QCoreApplication::arguments().mid(1);
    quint64 saat = 1;
    QDate heute = QDate::currentDate();
    QStringList frei;
    for (int i = 0; i < argumente.size(); ++i) {
        const QString &a = argumente.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return gebrauch(true);
        if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            std::printf("kalvoria_beispieldaten %s\n", KALVORIA_VERSION);
            return 0;
        }
        if ((a == QLatin1String("--saat") || a == QLatin1String("--heute")) && i + 1 < argumente.size()) {
            const QString wert = argumente.at(++i);
            bool ok = true;
            if (a == QLatin1String("--saat"))
                saat = wert.toULongLong(&ok);
            else
                ok = (heute = QDate::fromString(wert, QStringLiteral("yyyy-MM-dd"))).isValid();
            if (!ok) {
                std::fprintf(stderr, "kalvoria_beispieldaten: %s is no valid value for %s\n", qPrintable(wert),
                             qPrintable(a));
                return 2;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            return gebrauch();
        } else {
            frei << a;
        }
    }
    if (frei.size() != 2)
        return gebrauch();
    const Beispielumfang umfang = beispielumfang(frei.at(0));
    if (umfang.name.isEmpty())
        return gebrauch();

    QElapsedTimer uhr;
    uhr.start();
    const Beispielergebnis e = beispieldatenSchreiben(frei.at(1), umfang, saat, heute);
    if (!e.ok) {
        std::fprintf(stderr, "kalvoria_beispieldaten: %s\n", qPrintable(e.fehler));
        return 1;
    }
    std::printf("%s: %d patients, %d medications with %d packages, %d intake lines (%d aids), %d appointments "
                "around %s, seed %llu, in %.1f s\n",
                qPrintable(frei.at(1)), e.patienten, e.medikamente, e.packungen, e.zeilen, e.hilfsmittelZeilen,
                e.termine, qPrintable(heute.toString(QStringLiteral("dd.MM.yyyy"))),
                static_cast<unsigned long long>(saat), static_cast<double>(uhr.elapsed()) / 1000.0);
    return 0;
}
