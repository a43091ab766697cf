#include "reports/ArticleListLayout.h"

#include "core/Globals.h"
#include "core/Utility.h"

Captions ArticleListLayout::DefaultCaptions()
{
    return {{QStringLiteral("SSCC"), QStringLiteral("SSCC:")},
            {QStringLiteral("ART_BATCH_QTY"), QStringLiteral("Articles / Batchs / Quantities:")}};
}

void ArticleListLayout::Initialize()
{
    captions_ = DefaultCaptions();
    LoadCaptions(QStringLiteral("PALLET_AUX"), captions_);
}

void ArticleListLayout::Format(ReportSection& section, ReportBand& band)
{
    const QString& name = band.name();
    if (name == u"Sezione6") {
        // Loaded at every label, so a heading changed meanwhile shows on the next one.
        const QString path = PathJoin(CartellaDati, QStringLiteral("logo.bmp"));
        ReportObject& logo = section.Object(QStringLiteral("Logo"));
        if (FileExists(path))
            logo.LoadPicture(FindFile(path), 8175, 1350);
        else
            logo.Suppress = true;
    } else if (name == u"Sezione7") {
        section.Object(QStringLiteral("lblSSCC")).SetText(captions_.value(QStringLiteral("SSCC")));
    } else if (name == u"Sezione9") {
        section.Object(QStringLiteral("lblArticoli")).SetText(captions_.value(QStringLiteral("ART_BATCH_QTY")));
    }
}
