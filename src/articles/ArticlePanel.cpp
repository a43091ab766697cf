// The article panel: the current article shown in the fields, the defaults of a new one, the two
// modes of the buttons, field highlighting and the EAN completion.
#include "articles/ArticlePanel.h"

#include "articles/ArticleCheck.h"
#include "core/HandlerGuard.h"
#include "core/Globals.h"
#include "core/frmArticoli.h"
#include "core/ui/ControlTag.h"
#include "core/ui/FocusEvents.h"
#include "core/ui/TypingLimit.h"

namespace {

// The panel's text fields in load order, the article text each shows and its highlight group.
struct CampoPannello {
    QLineEdit* Ui::frmArticoli::*campo;
    QString ArticoloCampi::*testo;
    int gruppo;
};

const CampoPannello kCampi[] = {
    {&Ui::frmArticoli::txtSigla, &ArticoloCampi::sigla, 1},
    {&Ui::frmArticoli::txtCodInterno, &ArticoloCampi::codInterno, 2},
    {&Ui::frmArticoli::txtDescrizione, &ArticoloCampi::descrizione, 3},
    {&Ui::frmArticoli::txtDescrizione2, &ArticoloCampi::descrizione2, 3},
    {&Ui::frmArticoli::txtEAN, &ArticoloCampi::ean, 4},
    {&Ui::frmArticoli::txtQtCassa, &ArticoloCampi::qtCassa, 5},
    {&Ui::frmArticoli::txtGTIN, &ArticoloCampi::gtin, 6},
    {&Ui::frmArticoli::txtPesoCassa, &ArticoloCampi::pesoCassa, 7},
    {&Ui::frmArticoli::txtTipoPallet, &ArticoloCampi::tipoPallet, 8},
    {&Ui::frmArticoli::txtQtPallet, &ArticoloCampi::qtPallet, 9},
    {&Ui::frmArticoli::txtDurataProdotto, &ArticoloCampi::durataProdotto, 10},
    {&Ui::frmArticoli::txtPrefGTIN, &ArticoloCampi::prefGTIN, 11},
};

void mostraPannello(Ui::frmArticoli& ui, const ArticoloCampi& a)
{
    for (const CampoPannello& c : kCampi) ShowWhole(ui.*c.campo, a.*c.testo);
}

// A stored unit that is not one of the five is shown as such, selects nothing, and is what the
// panel gives back until the operator chooses a unit.
void mostraUnita(Ui::frmArticoli& ui, const QVariant& unita)
{
    bool ok = false;
    const qint64 indice = unita.toLongLong(&ok);
    const bool valida = !unita.isNull() && ok && indice >= 0 && indice < ui.cmbDurata->count();
    ui.cmbDurata->setCurrentIndex(valida ? int(indice) : -1);
    ui.cmbDurata->setPlaceholderText(unita.isNull() ? QStringLiteral("Nessuna unità")
                                                    : QStringLiteral("Unità %1 non valida").arg(unita.toString()));
    SetTag(ui.cmbDurata, unita.isNull() ? QString() : unita.toString());
}

void completaEAN(QLineEdit* campo)
{
    const QString completo = CompletaEAN(campo->text());
    if (completo != campo->text()) campo->setText(completo);
}

} // namespace

QColor ColoreCampo(int campo, int errato) { return campo == errato ? QColor(245, 141, 141) : QColor(255, 255, 255); }

ArticoloCampi LeggiPannello(const Ui::frmArticoli& ui)
{
    ArticoloCampi a;
    for (const CampoPannello& c : kCampi) a.*c.testo = (ui.*c.campo)->text();
    const int scelta = ui.cmbDurata->currentIndex();
    const QString memorizzata = Tag(ui.cmbDurata);
    a.unitaDurata = scelta >= 0 ? QVariant(scelta) : memorizzata.isEmpty() ? QVariant() : QVariant(memorizzata);
    return a;
}

// The marks of a refused save belong to the article that was refused.
void frmArticoli::CaricaArticolo()
{
    EvidenziaCampo(0);
    if (rsArticoli->IsEmpty()) return ArticoloNuovo();
    if (rsArticoli->Eof()) {
        try {
            rsArticoli->MoveFirst();
        } catch (const AppError&) {
        }
        if (rsArticoli->Eof()) return ArticoloNuovo();
    }
    const ArticoloCampi a = LeggiArticolo(*rsArticoli);
    mostraPannello(ui, a);
    ShowWhole(ui.mskQtCartoni, a.qtPallet);
    mostraUnita(ui, a.unitaDurata);
}

void frmArticoli::ArticoloNuovo()
{
    const ArticoloCampi a = NuovoArticolo(*rsSetup);
    mostraPannello(ui, a);
    mostraUnita(ui, a.unitaDurata);
}

void frmArticoli::Pulsanti(int modo)
{
    if (modo != 1 && modo != 2) return;
    const bool modifica = modo == 1;
    ui.cmdNuovoArticolo->setText(modifica ? QStringLiteral("&Memorizza") : QStringLiteral("&Nuovo"));
    ui.cmdNuovoArticolo->setIcon(QIcon((modifica ? ui.imgSalva : ui.imgNuovo)->pixmap()));
    ui.cmdNuovoArticolo->setEnabled(true);
    ui.cmdAnnulla->setVisible(modifica);
    ui.cmdAnnulla->setEnabled(modifica);
    for (QPushButton* b : {ui.cmdCopiaArticolo, ui.cmdModificaArticolo, ui.cmdEliminaArticolo, ui.cmdCercaAbb,
                           ui.cmdCercaInterno, ui.cmdIndietro, ui.cmdAvanti, ui.cmdListaArticoli})
        b->setVisible(!modifica);
    for (QPushButton* b : {ui.cmdStampa, ui.cmdRistampa, ui.cmdStampaImballi, ui.cmdStampaMulti, ui.cmdStampaDDT})
        b->setEnabled(!modifica);
    BloccaCampi(modifica);
}

void frmArticoli::BloccaCampi(bool abilita)
{
    for (const CampoPannello& c : kCampi) (ui.*c.campo)->setEnabled(abilita);
    ui.cmbDurata->setEnabled(abilita);
}

void frmArticoli::EvidenziaCampo(int n)
{
    for (const CampoPannello& c : kCampi) {
        QLineEdit* campo = ui.*c.campo;
        QPalette p = campo->palette();
        p.setColor(QPalette::Base, ColoreCampo(c.gruppo, n));
        campo->setPalette(p);
    }
}

void frmArticoli::txtEAN_LostFocus() { completaEAN(ui.txtEAN); }

void frmArticoli::txtGTIN_LostFocus() { completaEAN(ui.txtGTIN); }

// The key filters of the panel's fields are installed with the window's other fields.
void frmArticoli::ConnettiArticoli()
{
    OnLostFocus(ui.txtEAN, Protetto([this] { txtEAN_LostFocus(); }));
    OnLostFocus(ui.txtGTIN, Protetto([this] { txtGTIN_LostFocus(); }));
    connect(ui.cmdAvanti, &QPushButton::clicked, this, Protetto([this] { cmdAvanti_Click(); }));
    connect(ui.cmdIndietro, &QPushButton::clicked, this, Protetto([this] { cmdIndietro_Click(); }));
    connect(ui.cmdNuovoArticolo, &QPushButton::clicked, this, Protetto([this] { cmdNuovoArticolo_Click(); }));
    connect(ui.cmdCopiaArticolo, &QPushButton::clicked, this, Protetto([this] { cmdCopiaArticolo_Click(); }));
    connect(ui.cmdModificaArticolo, &QPushButton::clicked, this, Protetto([this] { cmdModificaArticolo_Click(); }));
    connect(ui.cmdEliminaArticolo, &QPushButton::clicked, this, Protetto([this] { cmdEliminaArticolo_Click(); }));
    connect(ui.cmdAnnulla, &QPushButton::clicked, this, Protetto([this] { cmdAnnulla_Click(); }));
    connect(ui.cmdCercaAbb, &QPushButton::clicked, this, Protetto([this] { cmdCercaAbb_Click(); }));
    connect(ui.cmdCercaInterno, &QPushButton::clicked, this, Protetto([this] { cmdCercaInterno_Click(); }));
    connect(ui.cmdListaArticoli, &QPushButton::clicked, this, Protetto([this] { cmdListaArticoli_Click(); }));
}
