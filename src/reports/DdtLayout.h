#pragma once
// The delivery-note summary: `CrystalReport4` one sheet per ReportDDT row (a note's number and date
// and ten of its pallet lines), `CrystalReport9` the same sheet twice on a landscape page.

#include "reports/CaptionFile.h"
#include "reports/ReportLayout.h"

class DeliveryNoteLayout : public ReportLayout {
public:
    // The DDT_SUMMARY caption set, defaults replaced from the caption file.
    const Captions& captions() const { return captions_; }
    static Captions DefaultCaptions();
    QString DocumentTitle() const override
    {
        return QStringLiteral("DDT %1 del %2").arg(firstValue("NumeroDDT"), firstValue("Data"));
    }

protected:
    explicit DeliveryNoteLayout(const QString& templateName) : ReportLayout(templateName) {}
    void Initialize() override;
    void Format(ReportSection& section, ReportBand& band) override;

private:
    Captions captions_;
};

class CrystalReport4 : public DeliveryNoteLayout {
    friend class ReportLayout;
    CrystalReport4() : DeliveryNoteLayout(QStringLiteral("CrystalReport4")) {}
};

class CrystalReport9 : public DeliveryNoteLayout {
    friend class ReportLayout;
    CrystalReport9() : DeliveryNoteLayout(QStringLiteral("CrystalReport9")) {}
};
