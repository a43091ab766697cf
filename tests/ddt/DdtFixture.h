#pragma once
// A fresh database with the main window on it, and pallets put in the archive as printing does.

#include "core/Globals.h"
#include "core/Startup.h"
#include "core/frmArticoli.h"
#include "labels/PalletArchive.h"
#include "support/ScriptedDialogs.h"
#include "support/TestData.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

class DdtTest : public testing::Test {
protected:
    void SetUp() override
    {
        CartellaDati = folder.path();
        ModoInterattivo = true;
        ASSERT_TRUE(ApriDatabase());
        w = std::make_unique<frmArticoli>();
    }
    void TearDown() override
    {
        w.reset();
        CloseDatabase();
    }

    // An archived pallet whose lines carry the lots L1, L2 … and expiry days 1, 2 … of March 2027.
    static void archivia(const QString& sscc, int lines)
    {
        PalletRecord p;
        p.sscc = sscc;
        for (int n = 1; n <= lines; ++n) {
            PalletLine l;
            l.gtin = QStringLiteral("0800000000000%1").arg(n);
            l.qtCartoni = 10 * n;
            l.lotto = QStringLiteral("L%1").arg(n);
            l.dataScadenza = QDateTime(QDate(2027, 3, n), QTime(0, 0));
            l.descrizione = QStringLiteral("Articolo %1").arg(n);
            p.lines.push_back(l);
        }
        RecordPrintedPallet({*DB, *rsSetup, *rsExportTestate, *rsExportRighe, *rsAppTestate, *rsAppRighe}, p);
    }

    // The single number a native query gives.
    static qint64 conta(const QString& sql)
    {
        Statement st = DB->prepare(sql);
        return st.step() ? st.int64(0) : -1;
    }

    QStringList griglia() const
    {
        QStringList out;
        for (int r = 1; r < w->ui.flxDDT->Rows(); ++r) out << w->ui.flxDDT->TextMatrix(r, 0);
        return out;
    }

    void nuovo(const QString& numero, const QString& data)
    {
        Dialogs().type(numero);
        Dialogs().type(data);
        w->ui.cmdNuovoDDT->click();
    }
    void aggiungi(const QString& sscc)
    {
        Dialogs().type(sscc);
        w->ui.cmdAggiungiSSCC->click();
    }
    static QString ultimoMessaggio() { return Dialogs().messages().empty() ? QString() : Dialogs().messages().back().prompt; }

    TestDataFolder folder;
    std::unique_ptr<frmArticoli> w;
};

inline const QString kSscc1 = QStringLiteral("380000000000000011");
inline const QString kSscc2 = QStringLiteral("380000000000000028");
inline const QString kSscc3 = QStringLiteral("380000000000000035");
