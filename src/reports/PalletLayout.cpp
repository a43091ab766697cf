#include "reports/PalletLayout.h"

#include "core/Globals.h"
#include "core/Utility.h"

namespace {

// The options are read again at every band, so a change of settings shows on the next label.
struct PrintOptions {
    bool codInterno, dataProd, oraProd, eanProd, eanCartone, pezzi, scadenza, pesoLordo;
};

PrintOptions ReadOptions()
{
    const auto on = [](const char* column) { return rsSetup->Value(QString::fromLatin1(column)).toBool(); };
    return {on("StampaCodInterno"), on("StampaDataProd"), on("StampaOraProd"), on("StampaEANProd"),
            on("StampaEANCartone"), on("StampaPezzi"), on("StampaScadenza"), on("StampaPesoLordo")};
}

bool SeveralArticles() { return EtichettaMulti && !ArticoloUnico; }
bool OneArticleSeveralLots() { return EtichettaMulti && ArticoloUnico; }

QString SecondDescriptionLine(const ReportSection& s)
{
    return s.Value(QStringLiteral("Descrizione")).toString().mid(40, 40).trimmed();
}

void Hide(ReportSection& s, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        s.Object(QString::fromLatin1(n)).Suppress = true;
}

// A caption object receives its text unless it was hidden.
void Caption(ReportSection& s, const char* object, const Captions& c, const char* key)
{
    ReportObject& o = s.Object(QString::fromLatin1(object));
    if (!o.Suppress) o.SetText(c.value(QString::fromLatin1(key)));
}

void Sezione10(ReportSection& s, const PrintOptions& opt, const Captions& c)
{
    s.Object(QStringLiteral("lblSSCC")).SetText(c.value(QStringLiteral("SSCC")));
    const bool large = SeveralArticles() || (!opt.eanProd && !opt.pezzi);
    s.Object(QStringLiteral("SSCC_Form")).SetFontSize(large ? 34 : 22);
}

void Sezione11(ReportSection& s, ReportBand& band, const PrintOptions& opt, const Captions& c)
{
    if (s.Value(QStringLiteral("NumImballi")).toString() == u"1" || !opt.eanCartone) {
        band.Suppress = true;
        return;
    }
    if (SeveralArticles())
        Hide(s, {"lblGTIN", "GTIN_Form"});
    else
        s.Object(QStringLiteral("lblGTIN")).SetText(c.value(QStringLiteral("GTIN")));
    s.Object(QStringLiteral("lblItems")).SetText(c.value(QStringLiteral("ITEMS")));
}

void Sezione12(ReportSection& s, ReportBand& band, const PrintOptions& opt, const Captions& c)
{
    if (!opt.eanProd && !opt.pezzi) {
        band.Suppress = true;
    } else {
        if (!opt.eanProd || SeveralArticles()) Hide(s, {"lblEAN", "EANUC_Form"});
        if (!opt.pezzi) Hide(s, {"lblQty", "NumPezzi"});
    }
    Caption(s, "lblQty", c, "QTY");
    Caption(s, "lblEAN", c, "EAN");
}

void Sezione3(ReportSection& s, const PrintOptions& opt, const Captions& c)
{
    const int length = static_cast<int>(s.Value(QStringLiteral("E128_Barcode")).toString().size());
    s.Object(QStringLiteral("E128_Barcode")).SetFontSize(PalletBarcodeSize(length));
    if (EtichettaMulti)
        Hide(s, {"lblExpire", "DataScadenza", "lblBatch", "Lotto"});
    else if (!opt.scadenza)
        Hide(s, {"lblExpire", "DataScadenza"});
    if (!opt.pesoLordo) Hide(s, {"lblGrossWeight", "txtKg", "PesoLordo"});
    Caption(s, "lblBatch", c, "BATCH");
    Caption(s, "lblExpire", c, "EXPIRE");
    Caption(s, "lblGrossWeight", c, "GROSS_WEIGTH");
}

void Sezione6(ReportSection& s, const PrintOptions& opt)
{
    const bool large = SeveralArticles() || (!opt.codInterno && !opt.dataProd && !opt.oraProd);
    const QString path = PathJoin(CartellaDati, large ? QStringLiteral("logo2.bmp") : QStringLiteral("logo.bmp"));
    ReportObject& logo = s.Object(QStringLiteral("Logo"));
    if (FileExists(path))
        logo.LoadPicture(FindFile(path), 8175, large ? 2430 : 1350);
    else
        logo.Suppress = true;
}

void Sezione7(ReportSection& s, ReportBand& band, const PrintOptions& opt, const Captions& c)
{
    s.Object(QStringLiteral("lblCodInterno")).SetText(c.value(QStringLiteral("INTERNAL_CODE")));
    if (SeveralArticles()) {
        band.Suppress = true;
        return;
    }
    if (!opt.codInterno) Hide(s, {"lblCodInterno", "CodInterno"});
    if (OneArticleSeveralLots()) {
        Hide(s, {"lblProduzione", "DataOraProduzione"});
        return;
    }
    ReportObject& caption = s.Object(QStringLiteral("lblProduzione"));
    if (opt.dataProd && opt.oraProd)
        caption.SetText(c.value(QStringLiteral("PRODUCTIONDATETIME")));
    else if (opt.dataProd)
        caption.SetText(c.value(QStringLiteral("PRODUCTIONDATE")));
    else if (opt.oraProd)
        caption.SetText(c.value(QStringLiteral("PRODUCTIONTIME")));
    else {
        Hide(s, {"lblProduzione", "DataOraProduzione"});
        if (!opt.codInterno) band.Suppress = true;
    }
}

void Sezione9(ReportSection& s, ReportBand& band)
{
    if (SeveralArticles()) {
        band.Suppress = true;
        return;
    }
    s.Object(QStringLiteral("Descrizione1")).SetFontSize(SecondDescriptionLine(s).isEmpty() ? 24 : 18);
}

void Section2(ReportSection& s, ReportBand& band)
{
    if (SeveralArticles() || SecondDescriptionLine(s).isEmpty()) band.Suppress = true;
}

} // namespace

int PalletBarcodeSize(int length)
{
    if (length <= 32) return 45;
    if (length <= 38) return 35;
    if (length <= 45) return 30;
    return 25; // longer strings than the layout was drawn for: keep shrinking
}

Captions PalletLabelLayout::DefaultCaptions()
{
    return {{QStringLiteral("INTERNAL_CODE"), QStringLiteral("Int. code:")},
            {QStringLiteral("PRODUCTIONDATE"), QStringLiteral("Production date:")},
            {QStringLiteral("PRODUCTIONTIME"), QStringLiteral("Production time:")},
            {QStringLiteral("PRODUCTIONDATETIME"), QStringLiteral("Production date/time:")},
            {QStringLiteral("SSCC"), QStringLiteral("SSCC:")},
            {QStringLiteral("GTIN"), QStringLiteral("GTIN:")},
            {QStringLiteral("ITEMS"), QStringLiteral("Items:")},
            {QStringLiteral("EAN"), QStringLiteral("EAN:")},
            {QStringLiteral("QTY"), QStringLiteral("Quantity:")},
            {QStringLiteral("BATCH"), QStringLiteral("Batch:")},
            {QStringLiteral("EXPIRE"), QStringLiteral("Expire date:")},
            {QStringLiteral("GROSS_WEIGTH"), QStringLiteral("Gross weight:")}};
}

void PalletLabelLayout::Initialize()
{
    captions_ = DefaultCaptions();
    LoadCaptions(QStringLiteral("PALLET_MAIN"), captions_);
}

void PalletLabelLayout::Format(ReportSection& section, ReportBand& band)
{
    const QString& name = band.name();
    if (name == u"Sezione6") Sezione6(section, ReadOptions());
    else if (name == u"Sezione7") Sezione7(section, band, ReadOptions(), captions_);
    else if (name == u"Sezione9") Sezione9(section, band);
    else if (name == u"Section2") Section2(section, band);
    else if (name == u"Sezione10") Sezione10(section, ReadOptions(), captions_);
    else if (name == u"Sezione11") Sezione11(section, band, ReadOptions(), captions_);
    else if (name == u"Sezione12") Sezione12(section, band, ReadOptions(), captions_);
    else if (name == u"Sezione3") Sezione3(section, ReadOptions(), captions_);
}
