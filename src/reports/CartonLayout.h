#pragma once
// The carton label `CrystalReport2`: one label per row of ReportImballi, with the carton EAN as
// grouped digits under an EAN-13 barcode. Its band handler only puts in the CARTON captions.

#include "reports/CaptionFile.h"
#include "reports/ReportLayout.h"

class CrystalReport2 : public ReportLayout {
    friend class ReportLayout;

public:
    // The CARTON caption set, defaults replaced from the caption file.
    const Captions& captions() const { return captions_; }
    static Captions DefaultCaptions();
    QString DocumentTitle() const override
    {
        return QStringLiteral("Etichetta cartone %1 lotto %2").arg(firstValue("CodInterno"), firstValue("Lotto"));
    }

protected:
    void Initialize() override;
    void Format(ReportSection& section, ReportBand& band) override;

private:
    CrystalReport2() : ReportLayout(QStringLiteral("CrystalReport2")) {}
    Captions captions_;
};
