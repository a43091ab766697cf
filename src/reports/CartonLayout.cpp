#include "reports/CartonLayout.h"

Captions CrystalReport2::DefaultCaptions()
{
    return {{QStringLiteral("BATCH"), QStringLiteral("Batch:")}, {QStringLiteral("QTY"), QStringLiteral("Quantity:")}};
}

void CrystalReport2::Initialize()
{
    captions_ = DefaultCaptions();
    LoadCaptions(QStringLiteral("CARTON"), captions_);
}

void CrystalReport2::Format(ReportSection& section, ReportBand& band)
{
    if (band.name() != u"Sezione3") return;
    section.Object(QStringLiteral("lblBatch")).SetText(captions_.value(QStringLiteral("BATCH")));
    section.Object(QStringLiteral("lblQty")).SetText(captions_.value(QStringLiteral("QTY")));
}
