#include "articles/ArticleCheck.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"

namespace {

bool soloCifre(const QString& s) { return IsDigits(s.trimmed()); }

// The article EAN and the carton EAN are checked alike; only their messages and group differ.
struct MessaggiEAN {
    QString lunghezza;
    QString cifre;
    QString checkDigit;
    int gruppo;
};

std::optional<ControlloFallito> controllaEAN(const QString& ean, const MessaggiEAN& m)
{
    if (ean.trimmed().size() < 13) return ControlloFallito{m.lunghezza, m.gruppo};
    if (!soloCifre(ean)) return ControlloFallito{m.cifre, m.gruppo};
    if (CheckDigitMod10(ean.left(12)) != ean.right(1)) return ControlloFallito{m.checkDigit, m.gruppo};
    return std::nullopt;
}

const MessaggiEAN kEANArticolo{QStringLiteral("La lunghezza del codice EAN articolo è errata."),
                               QStringLiteral("Il codice EAN articolo contiene caratteri non numerici."),
                               QStringLiteral("Il check digit del codice EAN articolo è errato."), 4};
const MessaggiEAN kEANCartone{QStringLiteral("La lunghezza del codice EAN cartone è errata."),
                              QStringLiteral("Il codice EAN cartone contiene caratteri non numerici."),
                              QStringLiteral("Il check digit del codice EAN cartone è errato."), 6};

} // namespace

std::optional<ControlloFallito> ControllaCampiArticolo(const ArticoloCampi& a,
                                                       const std::function<bool(const QString&)>& siglaDuplicata)
{
    if (!a.sigla.trimmed().isEmpty() && siglaDuplicata(a.sigla)) return ControlloFallito{QStringLiteral("Sigla duplicata."), 1};
    if (auto fallito = controllaEAN(a.ean, kEANArticolo)) return fallito;
    if (auto fallito = controllaEAN(a.gtin, kEANCartone)) return fallito;
    if (!soloCifre(a.prefGTIN)) return ControlloFallito{QStringLiteral("Il prefisso GTIN deve essere numerico (0-9)."), 11};
    const double tipoPallet = NumericValue(a.tipoPallet);
    if (tipoPallet < 0 || tipoPallet > 9)
        return ControlloFallito{QStringLiteral("Il tipo pallet è errato (il valore deve essere tra 0 e 9)."), 8};
    if (a.descrizione.trimmed().isEmpty()) return ControlloFallito{QStringLiteral("La descrizione dell'articolo è vuota."), 3};
    if (DecimalValue(a.pesoCassa) == 0)
        return ControlloFallito{QStringLiteral("Il peso della cassa non è stato specificato o è nullo."), 7};
    if (NumericValue(a.qtCassa) == 0) return ControlloFallito{QStringLiteral("La quantità per cassa non può essere nulla."), 5};
    if (NumericValue(a.qtPallet) == 0)
        return ControlloFallito{QStringLiteral("Il numero di cartoni per pallet non può essere nullo."), 9};
    if (NumericValue(a.durataProdotto) == 0)
        return ControlloFallito{QStringLiteral("La durata del prodotto non può essere nulla."), 10};
    if (a.codInterno.trimmed().isEmpty()) return ControlloFallito{QStringLiteral("Il codice interno non può essere vuoto."), 2};
    return std::nullopt;
}

bool SiglaDuplicata(Database& db, const QString& sigla, int modo, const QString& idArticolo)
{
    QString sql = QStringLiteral("SELECT * FROM ARTICOLI WHERE Sigla = '") + SqlQuote(sigla);
    sql += modo == ArticoloModificato ? QStringLiteral("' AND ID <> ") + idArticolo : QStringLiteral("'");
    auto rs = db.OpenRecordset(sql);
    const bool trovata = !rs->IsEmpty();
    rs->Close();
    return trovata;
}

QString CompletaEAN(const QString& testo)
{
    QString s = testo.trimmed();
    switch (s.size()) {
    case 7:
    case 8:
        s = s.left(2) + u'0' + s.mid(2, 4) + QStringLiteral("0000") + s.mid(6, 1);
        break;
    case 11:
        s.prepend(u'0');
        break;
    case 12:
        break;
    default:
        return testo;
    }
    return AppendCheckDigit(s);
}
