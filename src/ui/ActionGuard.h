#pragma once

#include <functional>

class Prompts;

// Runs a handler connected to a UI, timer or platform signal. An exception it raises is
// caught here and its text shown in an error box; nothing throws through the event loop.
// The handler's own closing steps run through RAII before the box is shown.
class ActionGuard {
public:
    static void run(Prompts &prompts, const std::function<void()> &handler);

    // A slot that runs handler under the guard.
    template <class Handler>
    static auto wrap(Prompts &prompts, Handler handler)
    {
        return [&prompts, handler](auto &&...) { run(prompts, handler); };
    }
};
