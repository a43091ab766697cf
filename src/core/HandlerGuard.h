#pragma once
// Handlers run from the event loop: an error that reaches one is shown to the operator instead of
// travelling into Qt, which cannot carry it. While the program waits in the middle of its own work
// (a lock another program holds, a worker), the windows paint but handlers do not run: the work
// under way is not re-entered.

#include "core/db/AppError.h"

#include <functional>

// "Errore: " and the failure's description, as the engine's errors are shown.
void MostraErrore(const AppError& error);

// Runs `handler` as a handler of the event loop; `duranteAttesa`: it also runs during a wait, and
// then must only note what it was asked and leave the doing to the work under way.
void EseguiGestore(const std::function<void()>& handler, bool duranteAttesa = false);

template <class Handler>
auto Protetto(Handler handler)
{
    return [handler] { EseguiGestore(handler); };
}

template <class Handler>
auto ProtettoInAttesa(Handler handler)
{
    return [handler] { EseguiGestore(handler, true); };
}

// Runs `action` once the outermost handler running now has returned and no wait is under way;
// false, and nothing is kept, when no handler runs.
bool DopoIlGestore(std::function<void()> action);
