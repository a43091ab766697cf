#pragma once
// The checks an article passes before it is saved, in the order the operator sees them, and the
// EAN completion of the two EAN fields.

#include "articles/ArticleRecord.h"

#include <QString>

#include <functional>
#include <optional>

class Database;

// Edit in progress: new article, modification of the current one, copy of the current one.
enum ModoArticolo : int { ArticoloInserito = 1, ArticoloModificato = 2, ArticoloCopiato = 3 };

// The first check that failed: its message and the highlight group of the fields concerned.
struct ControlloFallito {
    QString messaggio;
    int gruppo = 0;
};

// siglaDuplicata is asked only when the abbreviation is not blank.
std::optional<ControlloFallito> ControllaCampiArticolo(const ArticoloCampi& campi,
                                                       const std::function<bool(const QString& sigla)>& siglaDuplicata);

// Another article has this abbreviation; a modification excludes the article itself (idArticolo).
bool SiglaDuplicata(Database& db, const QString& sigla, int modo, const QString& idArticolo);

// A short EAN typed by the operator, completed to 13 digits with its check digit; any other
// length comes back unchanged.
QString CompletaEAN(const QString& testo);
