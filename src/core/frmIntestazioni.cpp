#include "core/frmIntestazioni.h"

#include "core/Globals.h"
#include "core/ui/KeyFilter.h"

frmIntestazioni::frmIntestazioni(QWidget* parent) : QDialog(parent)
{
    ui.setupUi(this);
    RichiestaOK = false;
    connect(ui.cmdOk, &QPushButton::clicked, this, &frmIntestazioni::cmdOk_Click);
    connect(ui.cmdAnnulla, &QPushButton::clicked, this, &frmIntestazioni::cmdAnnulla_Click);
    InstallKeyFilter(ui.txtIntestazione, [this](int key, const QString&) {
        if (key == 13) cmdOk_Click();
        else if (key == 27) cmdAnnulla_Click();
        else return key;
        return 0;
    });
}

void frmIntestazioni::cmdOk_Click()
{
    RichiestaOK = true;
    TestoRichiesta = ui.txtIntestazione->text();
    accept();
}

void frmIntestazioni::cmdAnnulla_Click()
{
    RichiestaOK = false;
    reject();
}
