#include "text/textformat.h"

#include <QDateTime>
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

std::optional<double> zahlLesen(const QString &text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Only one kind of separator and no grouping: "1.000,5" is ambiguous.
    if (t.contains(QLatin1Char(',')) && t.contains(QLatin1Char('.')))
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = t.toDouble(&ok);
    if (!ok || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}
