#include "reports/DdtLayout.h"

#include "core/Globals.h"
#include "core/Utility.h"

namespace {

void Caption(ReportSection& s, const char* object, const Captions& c, const char* key)
{
    s.Object(QString::fromLatin1(object)).SetText(c.value(QString::fromLatin1(key)));
}

// Only logo2.bmp: a note without its own heading prints none rather than the label's logo.
void Sezione6(ReportSection& s)
{
    const QString path = PathJoin(CartellaDati, QStringLiteral("logo2.bmp"));
    ReportObject& logo = s.Object(QStringLiteral("Logo"));
    if (FileExists(path))
        logo.LoadPicture(FindFile(path), 8175, 2430);
    else
        logo.Suppress = true;
}

} // namespace

Captions DeliveryNoteLayout::DefaultCaptions()
{
    return {{QStringLiteral("TITLE"), QStringLiteral("SSCCs, articles and batchs")},
            {QStringLiteral("NUMBER_DATE"), QStringLiteral("DDT number and date:")},
            {QStringLiteral("SSCC_TITLE"), QStringLiteral("SSCC")},
            {QStringLiteral("GTIN_TITLE"), QStringLiteral("GTIN")},
            {QStringLiteral("BATCH_TITLE"), QStringLiteral("Batch")},
            {QStringLiteral("EXPIRE_TITLE"), QStringLiteral("Exp. date")},
            {QStringLiteral("QT_TITLE"), QStringLiteral("Qty")}};
}

void DeliveryNoteLayout::Initialize()
{
    captions_ = DefaultCaptions();
    LoadCaptions(QStringLiteral("DDT_SUMMARY"), captions_);
}

void DeliveryNoteLayout::Format(ReportSection& section, ReportBand& band)
{
    const QString& name = band.name();
    if (name == u"Sezione6") {
        Sezione6(section);
    } else if (name == u"Sezione7") {
        Caption(section, "lblTitolo", captions_, "TITLE");
        Caption(section, "lblNumeroData", captions_, "NUMBER_DATE");
    } else if (name == u"Sezione9") {
        Caption(section, "lblSSCC", captions_, "SSCC_TITLE");
        Caption(section, "lblGTIN", captions_, "GTIN_TITLE");
        Caption(section, "lblBatch", captions_, "BATCH_TITLE");
        Caption(section, "lblExpire", captions_, "EXPIRE_TITLE");
        Caption(section, "lblQt", captions_, "QT_TITLE");
    }
}
