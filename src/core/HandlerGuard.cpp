#include "core/HandlerGuard.h"

#include "core/ui/BackgroundWork.h"
#include "core/ui/Dialogs.h"

#include <utility>
#include <vector>

namespace {

int g_gestori = 0;
std::vector<std::function<void()>> g_dopo;

} // namespace

void MostraErrore(const AppError& error)
{
    MsgBox(QStringLiteral("Errore: ") + error.description(), vbExclamation | vbOKOnly, QStringLiteral("Errore"));
}

void EseguiGestore(const std::function<void()>& handler, bool duranteAttesa)
{
    if (!duranteAttesa && WaitingWhileWindowsPaint()) return;
    ++g_gestori;
    try {
        handler();
    } catch (const AppError& error) {
        MostraErrore(error);
    } catch (...) {
        --g_gestori;
        throw;
    }
    if (--g_gestori > 0 || WaitingWhileWindowsPaint()) return;
    // The work has ended: what was given up for it waits again, and what waited for it runs.
    ResumeWaiting();
    for (const auto& action : std::exchange(g_dopo, {})) action();
}

bool DopoIlGestore(std::function<void()> action)
{
    if (g_gestori == 0) return false;
    g_dopo.push_back(std::move(action));
    return true;
}
