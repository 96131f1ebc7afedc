// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/textformat.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QString umlauteErsetzen(QString text)
{
    static const struct {
        const char *marke;
        QChar zeichen;
    } ersetzungen[] = {
        {":ae:", QChar(0x00E4)}, {":oe:", QChar(0x00F6)}, {":ue:", QChar(0x00FC)}, {":Ae:", QChar(0x00C4)},
        {":Oe:", QChar(0x00D6)}, {":Ue:", QChar(0x00DC)}, {":sz:", QChar(0x00DF)},
    };
    for (const auto &e : ersetzungen)
        text.replace(QLatin1String(e.marke), QString(e.zeichen), Qt::CaseSensitive);
    return text;
}

QString mengeFormatieren(float wert)
{
    if (wert == 0.5f)
        return QStringLiteral("1/2");
    if (wert == 0.0f || !std::isfinite(wert) || wert == std::round(wert))
        return QString::number(static_cast<double>(wert), 'f', 0);
    // A plan handed to a carer must not round a dose away: use a second
    // decimal where the first alone would change the value (0.25, 1.75).
    const QString eine = QString::number(static_cast<double>(wert), 'f', 1);
    if (eine.toFloat() == wert)
        return eine;
    return QString::number(static_cast<double>(wert), 'f', 2);
}

QString datumAusZeit(unsigned int sekunden)
{
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(sekunden)).toString(QStringLiteral("dd.MM.yyyy"));
}

namespace {
bool mehrdeutig(const QString &text)
{
    static const QRegularExpression tausender(QStringLiteral("^[+-]?0*[1-9][0-9]{0,2}[.,][0-9]{3}$"));
    return tausender.match(text.trimmed()).hasMatch();
}
} // namespace

std::optional<double> zahlLesen(const QString &text, const Zahlbereich &bereich)
{
    // ASCII digits only: toDouble would also take exponents, "inf" and "nan",
    // which then reach the views as figures nobody can act on.
    static const QRegularExpression schreibweise(QStringLiteral("^[+-]?([0-9]*)([.,][0-9]+)?$"));
    const QString t = text.trimmed();
    const QRegularExpressionMatch m = schreibweise.match(t);
    if (!m.hasMatch() || (m.capturedLength(1) == 0 && m.capturedLength(2) == 0))
        return std::nullopt;
    if (bereich.ganz && m.capturedLength(2) > 0)
        return std::nullopt;
    // "1.000" or "12,500" may be a thousand written with a grouping point:
    // read as 1 it would be a thousandth of what was meant.
    if (mehrdeutig(t))
        return std::nullopt;
    bool ok = false;
    const double wert = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || wert < bereich.von || wert > bereich.bis || (bereich.ohneNull && wert == 0))
        return std::nullopt;
    return wert;
}

QString bereichText(const Zahlbereich &bereich)
{
    const QString art = bereich.ganz ? QStringLiteral("eine ganze Zahl") : QStringLiteral("eine Zahl");
    // Only whole numbers leave out a 0 inside the range: 1 and -1 are its neighbours.
    if (bereich.ohneNull && bereich.von < 0)
        return art +
               QStringLiteral(" von 1 bis %1 oder von %2 bis -1").arg(zahlText(bereich.bis), zahlText(bereich.von));
    if (bereich.ohneNull)
        return art + QStringLiteral(" \u00FCber %1 bis %2").arg(zahlText(bereich.von), zahlText(bereich.bis));
    return art + QStringLiteral(" von %1 bis %2").arg(zahlText(bereich.von), zahlText(bereich.bis));
}

QString zahlFehlerText(const QString &feld, const QString &text, const Zahlbereich &bereich)
{
    if (mehrdeutig(text)) {
        QString ganz = text.trimmed();
        ganz.remove(QRegularExpression(QStringLiteral("[.,]")));
        const QString eins = text.trimmed().section(QRegularExpression(QStringLiteral("[.,]")), 0, 0);
        return QStringLiteral("Die Angabe bei \u201E%1\u201C ist mehrdeutig: \u201E%2\u201C kann %3 oder %4 "
                              "bedeuten.\n\nBitte ohne Tausenderpunkt schreiben, zum Beispiel %3 oder %4.\n\n"
                              "Es wurde nichts gespeichert.")
            .arg(feld, text.trimmed(), QString::number(ganz.toLongLong()), eins);
    }
    return QStringLiteral("Die Angabe bei \u201E%1\u201C muss %2 sein: \u201E%3\u201C.\n\n"
                          "Bitte zum Beispiel %4 eingeben.\n\nEs wurde nichts gespeichert.")
        .arg(feld, bereichText(bereich), text, QString::fromUtf8(bereich.beispiel));
}

QString zahlText(double wert)
{
    if (wert == 0)
        return QStringLiteral("0"); // not "-0"
    return QString::number(wert, 'f', QLocale::FloatingPointShortest);
}
