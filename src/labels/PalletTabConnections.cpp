// Signals of the pallet tab to their handlers.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/ui/FocusEvents.h"
#include "core/ui/KeyFilter.h"

void frmArticoli::ConnettiEtichette()
{
    connect(ui.cmdDataOra, &QPushButton::clicked, this, Protetto([this] { cmdDataOra_Click(); }));
    connect(ui.chkAutoUpdate, &QCheckBox::clicked, this, Protetto([this] { chkAutoUpdate_Click(); }));
    connect(ui.chkAutoLotto, &QCheckBox::clicked, this, Protetto([this] { chkAutoLotto_Click(); }));
    connect(ui.cmdStampa, &QPushButton::clicked, this, Protetto([this] { cmdStampa_Click(); }));
    connect(ui.cmdIncrementa, &QPushButton::clicked, this, Protetto([this] { cmdIncrementa_Click(); }));
    // Enter in the production date recomposes an automatic lot instead of being typed; Tab
    // recomposes it too, and moves on to the next field.
    const auto recompose = [this] {
        if (ui.chkAutoLotto->isChecked()) EseguiGestore([this] { LottoAutomatico(); });
    };
    InstallKeyFilter(ui.mskDataProduzione, [recompose](int key, const QString&) {
        if (key != 13) return key;
        recompose();
        return 0;
    });
    OnTabKey(ui.mskDataProduzione, recompose);
    OnGotFocus(ui.mskQtCartoni, Protetto([this] { mskQtCartoni_GotFocus(); }));
}
