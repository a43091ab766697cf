// The heading list of the main window: filled from the heading folder, a pick becomes the logo.
#include "core/frmArticoli.h"

#include "core/Globals.h"
#include "core/HandlerGuard.h"
#include "core/Utility.h"
#include "labels/Headings.h"

#include <QEvent>
#include <QLabel>

namespace {

const QString kCartella = QStringLiteral("Intestazioni");

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) action_();
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

void frmArticoli::ConnettiIntestazioni()
{
    connect(ui.cmbIntestazione, &QComboBox::activated, this, Protetto([this] { cmbIntestazione_Click(); }));
    for (int i = 0; i < labIntestazione.size(); ++i)
        labIntestazione[i]->installEventFilter(
            new DoubleClickFilter(labIntestazione[i], Protetto([this, i] { labIntestazione_DblClick(i); })));
}

void frmArticoli::CaricaIntestazioni(const QString& folder)
{
    PrepareHeadingFolder(folder, CartellaDati);
    ui.cmbIntestazione->clear();
    ui.cmbIntestazione->addItems(HeadingNames(folder));
    if (ui.cmbIntestazione->count() == 0) return;
    ui.cmbIntestazione->setCurrentIndex(0);
    cmbIntestazione_Click();
}

void frmArticoli::cmbIntestazione_Click()
{
    if (ui.cmbIntestazione->currentIndex() < 0) return;
    ApplyHeading(PathJoin(CartellaDati, kCartella), ui.cmbIntestazione->currentText(), CartellaDati);
}

void frmArticoli::labIntestazione_DblClick(int) { CaricaIntestazioni(PathJoin(CartellaDati, kCartella)); }
