#pragma once
// The article list of a mixed pallet: `CrystalReport3` one label per page, `CrystalReport8` the same
// label twice on a landscape sheet. Each label names the pallet's SSCC and lists up to five of its lines.

#include "reports/CaptionFile.h"
#include "reports/ReportLayout.h"

class ArticleListLayout : public ReportLayout {
public:
    // The PALLET_AUX caption set, defaults replaced from the caption file.
    const Captions& captions() const { return captions_; }
    static Captions DefaultCaptions();
    QString DocumentTitle() const override { return QStringLiteral("Elenco articoli pallet ") + firstValue("SSCC_Form"); }

protected:
    explicit ArticleListLayout(const QString& templateName) : ReportLayout(templateName) {}
    void Initialize() override;
    void Format(ReportSection& section, ReportBand& band) override;

private:
    Captions captions_;
};

class CrystalReport3 : public ArticleListLayout {
    friend class ReportLayout;
    CrystalReport3() : ArticleListLayout(QStringLiteral("CrystalReport3")) {}
};

class CrystalReport8 : public ArticleListLayout {
    friend class ReportLayout;
    CrystalReport8() : ArticleListLayout(QStringLiteral("CrystalReport8")) {}
};
