#pragma once
// The pallet label: `CrystalReport1` one label per page, `CrystalReport7` the same label twice on a
// landscape sheet. Its band handlers decide which lines print, their captions, the main font sizes
// and the heading picture, from the Setup row's print options and the label-content flags.

#include "reports/CaptionFile.h"
#include "reports/ReportLayout.h"

class PalletLabelLayout : public ReportLayout {
public:
    // The PALLET_MAIN caption set, defaults replaced from the caption file.
    const Captions& captions() const { return captions_; }
    static Captions DefaultCaptions();
    QString DocumentTitle() const override { return QStringLiteral("Etichetta pallet ") + firstValue("SSCC_Form"); }

protected:
    explicit PalletLabelLayout(const QString& templateName) : ReportLayout(templateName) {}
    void Initialize() override;
    void Format(ReportSection& section, ReportBand& band) override;

private:
    Captions captions_;
};

class CrystalReport1 : public PalletLabelLayout {
    friend class ReportLayout;
    CrystalReport1() : PalletLabelLayout(QStringLiteral("CrystalReport1")) {}
};

class CrystalReport7 : public PalletLabelLayout {
    friend class ReportLayout;
    CrystalReport7() : PalletLabelLayout(QStringLiteral("CrystalReport7")) {}
};

// Font size of the GS1-128 barcode for a barcode-font string of `length` characters.
int PalletBarcodeSize(int length);
