#include "labels/Reprint.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "labels/ElementStrings.h"
#include "labels/LabelJob.h"
#include "labels/MixedPallet.h"
#include "labels/PalletLabel.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"

namespace {

// A date the archive holds as one; text another program wrote there (a date in another form, an
// offset no place has) is none, however Qt would read it.
QDateTime archivedDate(const QVariant& value) { return value.typeId() == QMetaType::QDateTime ? value.toDateTime() : QDateTime(); }

} // namespace

std::vector<PalletLine> ReadArchivedLines(Database& db, qint64 idAppTestate)
{
    auto rs = db.OpenRecordset(QStringLiteral("SELECT * FROM AppRighe WHERE IDAppTestate = ") + QString::number(idAppTestate)
                               + QStringLiteral(" ORDER BY NumRiga"));
    std::vector<PalletLine> lines;
    for (; !rs->Eof(); rs->MoveNext()) {
        lines.push_back({NzStr(rs->Value(QStringLiteral("CodInterno"))), archivedDate(rs->Value(QStringLiteral("DataOra"))),
                         rs->Value(QStringLiteral("QtCartoni")).toLongLong(), NzStr(rs->Value(QStringLiteral("Lotto"))),
                         archivedDate(rs->Value(QStringLiteral("DataScadenza"))), NzStr(rs->Value(QStringLiteral("CodEAN"))),
                         NzStr(rs->Value(QStringLiteral("GTIN"))), rs->Value(QStringLiteral("numpezzi")).toLongLong(),
                         NzStr(rs->Value(QStringLiteral("Descrizione")))});
    }
    rs->Close();
    return lines;
}

std::optional<ArchivedPallet> ReadArchivedPallet(Database& db, Recordset& appTestate, qint64 idAppTestate)
{
    appTestate.FindFirst(QStringLiteral("IDAppTestate = ") + QString::number(idAppTestate));
    if (appTestate.NoMatch()) return std::nullopt;
    ArchivedPallet pallet;
    pallet.idAppTestate = idAppTestate;
    PalletRecord& r = pallet.record;
    r.sscc = NzStr(appTestate.Value(QStringLiteral("SSCC")));
    r.qtCartoni = appTestate.Value(QStringLiteral("QtCartoni")).toLongLong();
    r.numPezzi = appTestate.Value(QStringLiteral("numpezzi")).toLongLong();
    r.pesoLordo = appTestate.Value(QStringLiteral("pesolordo")).toDouble();
    r.tipoPallet = NzStr(appTestate.Value(QStringLiteral("TipoPallet")));
    r.lines = ReadArchivedLines(db, idAppTestate);
    return pallet;
}

PalletMix MixOf(const std::vector<PalletLine>& lines)
{
    PalletMix mix = PalletMix::Homogeneous;
    for (const PalletLine& line : lines) {
        if (line.gtin != lines.front().gtin) return PalletMix::SeveralArticles;
        if (line.lotto != lines.front().lotto) mix = PalletMix::OneArticle;
    }
    return mix;
}

namespace {

PalletLabelRow reprintRow(const Recordset& setup, const PalletRecord& pallet, PalletMix mix)
{
    const PalletLine& first = pallet.lines.front();
    const bool summary = mix != PalletMix::Homogeneous;
    // A summary states the earliest expiry of its lines, as the print did.
    const QDateTime expiry = summary ? EarliestExpiry(pallet.lines) : first.dataScadenza;
    const bool oneArticle = mix != PalletMix::SeveralArticles;
    auto ofArticle = [oneArticle](const QString& value) { return oneArticle ? value : QString(); };
    const QString lotto = summary ? QString() : first.lotto;
    // An archive row without cartons has no pieces per carton to state.
    const double perCarton = pallet.qtCartoni > 0 ? double(pallet.numPezzi) / double(pallet.qtCartoni) : 0;

    PalletLabelRow row;
    row.codInterno = ofArticle(first.codInterno);
    row.descrizione = ofArticle(first.descrizione);
    row.produzioneText = ProductionText(first.dataOra, setup.Value(QStringLiteral("StampaDataProd")).toBool(),
                                        setup.Value(QStringLiteral("StampaOraProd")).toBool());
    row.sscc = pallet.sscc;
    row.gtin = ofArticle(first.gtin);
    row.cartoni = pallet.qtCartoni;
    row.eanArticolo = ofArticle(first.codEAN);
    row.pezzi = pallet.numPezzi;
    row.scadenzaText = ExpiryText(expiry, setup.Value(QStringLiteral("CalcScadenza")).toInt());
    row.lotto = lotto;
    row.pesoLordo = pallet.pesoLordo;
    row.elements = ElementData{row.gtin, GeneralNumber(double(pallet.qtCartoni)), pallet.pesoLordo, expiry.date(), lotto,
                               QStringLiteral("0") + first.codEAN, GeneralNumber(perCarton), first.dataOra.date()};
    row.content = LabelContent{summary, oneArticle};
    return row;
}

// Why a label cannot state the archived dates it carries: one is no date. "" when each is.
QString datesRefusal(StatedDates stated, const ElementData& data, const QString& sscc, const QString& article)
{
    const auto unreadable = [&](const char* which) {
        return QStringLiteral("Il pallet %1 dell'articolo %2 non ha una data %3 leggibile in archivio: impossibile ristamparlo.")
            .arg(sscc, article, QLatin1String(which));
    };
    if (stated.production && !data.produzione.isValid()) return unreadable("di produzione");
    if (stated.expiry && !data.scadenza.isValid()) return unreadable("di scadenza");
    return {};
}

} // namespace

QString ReprintRefusal(const Recordset& setup, const PalletRecord& pallet, PalletMix mix)
{
    const PalletLine& first = pallet.lines.front();
    const QString article = ArticleName({}, first.codInterno, first.codEAN);
    if (QString why = SsccRefusal(pallet.sscc, article); !why.isEmpty()) return why;
    const ElementSettings settings = ElementSettings::FromSetup(setup);
    const PalletLabelRow row = reprintRow(setup, pallet, mix);
    const StatedDates labelDates = PalletLabelDates(settings, setup.Value(QStringLiteral("StampaOraProd")).toBool(), row.content);
    if (QString why = datesRefusal(labelDates, row.elements, pallet.sscc, article); !why.isEmpty()) return why;
    if (QString why = PalletSymbolRefusal(row.elements, settings, row.content, article); !why.isEmpty()) return why;
    if (mix == PalletMix::Homogeneous) return {};
    const std::vector<ArticleLine> lines = ArticleLinesOf(pallet);
    for (size_t i = 0; i < lines.size(); ++i) {
        const ElementData elements = ArticleLineElements(lines[i]);
        const QString lineArticle = ArticleName({}, pallet.lines[i].codInterno, pallet.lines[i].codEAN);
        if (QString why = datesRefusal(ArticleLineDates(settings), elements, pallet.sscc, lineArticle); !why.isEmpty()) return why;
        if (QString why = ArticleLineSymbolRefusal(elements, settings); !why.isEmpty()) return why;
    }
    return {};
}

void WriteReprintRow(Database& db, const Recordset& setup, const PalletRecord& pallet, PalletMix mix)
{
    const PalletLabelRow row = reprintRow(setup, pallet, mix);
    db.Execute(QStringLiteral("DELETE FROM ReportPallet"));
    auto rs = db.OpenRecordset(QStringLiteral("ReportPallet"));
    AddPalletLabelRow(*rs, row, NzStr(setup.Value(QStringLiteral("CodProduttore"))), ElementSettings::FromSetup(setup));
    rs->Close();
}

std::vector<ArticleLine> ArticleLinesOf(const PalletRecord& pallet)
{
    std::vector<ArticleLine> lines;
    for (const PalletLine& l : pallet.lines)
        lines.push_back({l.gtin, l.dataScadenza, l.qtCartoni, l.lotto, QStringLiteral("0") + l.codEAN, QString::number(l.numPezzi), l.dataOra});
    return lines;
}
