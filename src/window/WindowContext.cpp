#include "window/WindowContext.h"

#include <utility>

std::function<void()> WindowContext::guard(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] { guarded(handler); };
}
