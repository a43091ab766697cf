// Signals of the carton tab to their handlers.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"

#include <QEvent>
#include <QTimer>

namespace {

// Runs `handler` once the field has taken the focus, after Qt has placed the cursor.
class OnFocusIn : public QObject {
public:
    OnFocusIn(QObject* parent, std::function<void()> handler) : QObject(parent), handler_(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) QTimer::singleShot(0, this, handler_);
        return false;
    }

private:
    std::function<void()> handler_;
};

} // namespace

void frmArticoli::ConnettiImballi()
{
    connect(ui.cmdStampaImballi, &QPushButton::clicked, this, [this] {
        // From the button the operator reads what failed; the request timer handles its own errors.
        try {
            cmdStampaImballi_Click();
        } catch (const AppError& e) {
            MostraErrore(e);
        }
    });
    ui.mskQtImballi->installEventFilter(new OnFocusIn(ui.mskQtImballi, [this] { mskQtImballi_GotFocus(); }));
}
