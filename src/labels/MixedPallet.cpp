#include "labels/MixedPallet.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Recordset.h"
#include "labels/LabelJob.h"
#include "labels/Sscc.h"
#include "labels/SymbolRefusal.h"

#include <algorithm>

#include <optional>

namespace {

MixedPalletJob refused(const QString& why)
{
    MixedPalletJob job;
    job.refusal = why;
    return job;
}

struct Article {
    QString codInterno, descrizione, prefGTIN, eanCartone, eanArticolo, sigla;
    double qtCartone = 0, pesoCartone = 0;
    QVariant durata, unita;
};

std::optional<Article> findArticle(Recordset& articoli, qint64 id)
{
    articoli.FindFirst(QStringLiteral("ID = ") + QString::number(id));
    if (articoli.NoMatch()) return std::nullopt;
    const auto text = [&](const char* column) { return NzStr(articoli.Value(QString::fromLatin1(column))); };
    return Article{text("CodInterno"),
                   text("Descrizione"),
                   text("PrefGTIN"),
                   text("EANCartone"),
                   text("EANArticolo"),
                   text("Sigla"),
                   articoli.Value(QStringLiteral("QtCartone")).toDouble(),
                   articoli.Value(QStringLiteral("PesoCartone")).toDouble(),
                   articoli.Value(QStringLiteral("DurataProdotto")),
                   articoli.Value(QStringLiteral("UnitaDurata"))};
}

// The fields every label of the article states, whatever the pallet.
PalletLabelArgs articleArgs(const Article& a, const QString& tipoPallet, const QString& copie, qint64 serial)
{
    PalletLabelArgs args;
    args.codInterno = a.codInterno;
    args.descrizione1 = a.descrizione.left(40);
    args.descrizione2 = a.descrizione.mid(40);
    args.tipoPallet = tipoPallet;
    args.prefGTIN = a.prefGTIN;
    args.eanCartone = a.eanCartone;
    args.qtCassa = GeneralNumber(a.qtCartone);
    args.eanArticolo = a.eanArticolo;
    args.pesoCassa = GeneralNumber(a.pesoCartone);
    args.copie = copie;
    args.serial = serial;
    args.preview = false;
    return args;
}

} // namespace

QDateTime EarliestExpiry(const std::vector<PalletLine>& lines)
{
    const auto earliest = std::min_element(lines.begin(), lines.end(),
                                           [](const PalletLine& a, const PalletLine& b) { return a.dataScadenza < b.dataScadenza; });
    return earliest == lines.end() ? QDateTime() : earliest->dataScadenza;
}

MixedPalletJob PrepareMixedPallet(const std::vector<LotRow>& rows, Recordset& articoli, const Recordset& setup,
                                  const QString& tipoPallet, const QString& copie, qint64 serial, const QDateTime& now)
{
    MixedPalletJob job;
    const int rule = setup.Value(QStringLiteral("CalcScadenza")).toInt();
    const double tare = setup.Value(QStringLiteral("PesoPallet") + tipoPallet).toDouble();
    PalletRecord& record = job.record;
    record.sscc = ComposeSscc(tipoPallet, setup, serial);
    record.tipoPallet = tipoPallet;
    record.pesoLordo = tare;

    const ElementSettings settings = ElementSettings::FromSetup(setup);
    const bool oneArticleSummary = rows.size() > 1 && std::all_of(rows.begin(), rows.end(), [&](const LotRow& r) {
                                       return r.articleId == rows.front().articleId;
                                   });
    std::optional<Article> article;
    qint64 previousKey = 0;
    for (const LotRow& row : rows) {
        if (row.articleId != previousKey) {
            if (previousKey != 0) job.severalArticles = true;
            previousKey = row.articleId;
        }
        article = findArticle(articoli, row.articleId);
        if (!article) return refused(QStringLiteral("Articolo non trovato!"));
        // An expiry computed from a missing product life would be printed as if it were true.
        const ProductLife life = ProductLifeOf(article->durata, article->unita);
        const LabelArticle values{ArticleName(article->sigla, article->codInterno, article->eanArticolo),
                                  tipoPallet,
                                  article->prefGTIN,
                                  article->eanCartone,
                                  row.qt,
                                  life.durata,
                                  life.unita,
                                  CartonGtinOnLabel(settings, row.qt, oneArticleSummary)};
        if (QString why = LabelArticleRefusal(values); !why.isEmpty()) return refused(why);

        const QString dateText = row.dataOra.section(u' ', 0, 0);
        const QString timeText = row.dataOra.section(u' ', 1);
        const QDateTime production = ReadDateTime(dateText, timeText).value_or(QDateTime());
        const QDateTime expiry = CalcolaScadenza(production, article->durata.toInt(), article->unita.toInt(), rule);
        const double cartons = NumericValue(row.qt);
        const qint64 pieces = qRound64(cartons * article->qtCartone);
        const QString gtin = CartonGtin(article->prefGTIN, article->eanCartone);

        record.qtCartoni += qRound64(cartons);
        record.numPezzi += pieces;
        record.pesoLordo += cartons * article->pesoCartone;
        record.lines.push_back({article->codInterno, production, qRound64(cartons), row.lotto, expiry, article->eanArticolo, gtin,
                                pieces, article->descrizione});
        job.articleLines.push_back({gtin, expiry, qRound64(cartons), row.lotto, QStringLiteral("0") + article->eanArticolo,
                                    GeneralNumber(cartons * article->qtCartone), production});

        if (rows.size() == 1) {
            job.label = articleArgs(*article, tipoPallet, copie, serial);
            job.label.qtCartoni = row.qt;
            job.label.lotto = row.lotto;
            job.label.produzioneText = ProductionText(production, setup.Value(QStringLiteral("StampaDataProd")).toBool(),
                                                      setup.Value(QStringLiteral("StampaOraProd")).toBool());
            job.label.produzione = production;
            job.label.scadenza = expiry;
            job.label.scadenzaText = ExpiryText(expiry, rule);
            job.label.archive = true;
        }
    }
    if (rows.size() > 1) {
        job.label = articleArgs(*article, tipoPallet, copie, serial);
        job.label.qtCartoni = QString::number(record.qtCartoni);
        job.label.produzione = now;
        job.label.scadenza = EarliestExpiry(record.lines);
        job.label.archive = false;
        job.label.advanceCounter = false;
        job.label.totalPieces = record.numPezzi;
        job.label.totalWeight = record.pesoLordo;
    }

    if (!article) return job;
    if (rows.size() > 1) {
        for (const ArticleLine& line : job.articleLines)
            if (QString why = ArticleLineSymbolRefusal(ArticleLineElements(line), settings); !why.isEmpty()) return refused(why);
    }
    const LabelContent content{rows.size() > 1, !job.severalArticles};
    if (QString why = PalletSymbolRefusal(PalletElements(job.label, content.etichettaMulti), settings, content,
                                          ArticleName(article->sigla, article->codInterno, article->eanArticolo));
        !why.isEmpty())
        return refused(why);
    return job;
}

