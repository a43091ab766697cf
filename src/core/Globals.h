#pragma once
// State shared by the whole program for one run: the formats fixed at start-up, the data folder,
// the database with its eleven table recordsets, and the mode and label-content flags.

#include "core/db/Database.h"
#include "core/db/Recordset.h"

#include <QString>

#include <array>
#include <memory>

inline QString FormatoData = QStringLiteral("dd/mm/yy");
inline QString MascheraData = QStringLiteral("##/##/##");
inline QString FormatoOra = QStringLiteral("hh:nn");
inline QString MascheraOra = QStringLiteral("##:##");

inline QString CartellaDati;
inline QString PercorsoDB;

inline bool ModoInterattivo = true;
inline bool ModoFileRichiesta = false;
inline bool RichiestaOK = false;
inline QString TestoRichiesta;

// Label-content flags: the pallet label summarises several lines / all its lines are of one article.
inline bool EtichettaMulti = false;
inline bool ArticoloUnico = false;

// Month names 1 to 12; entry 0 stays empty.
inline std::array<QString, 13> NomiMesi;

inline std::unique_ptr<Database> DB;
inline std::unique_ptr<Recordset> rsSetup;
inline std::unique_ptr<Recordset> rsArticoli;
inline std::unique_ptr<Recordset> rsExportTestate;
inline std::unique_ptr<Recordset> rsExportRighe;
inline std::unique_ptr<Recordset> rsAppTestate;
inline std::unique_ptr<Recordset> rsAppRighe;
inline std::unique_ptr<Recordset> rsDDTTestate;
inline std::unique_ptr<Recordset> rsDDTRighe;
inline std::unique_ptr<Recordset> rsRichiesteTestate;
inline std::unique_ptr<Recordset> rsRichiesteRighe;
inline std::unique_ptr<Recordset> rsRichiesteImballi;
