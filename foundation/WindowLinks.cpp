#include "foundation/WindowLinks.h"

WindowLinks& windowLinks()
{
    static WindowLinks links;
    return links;
}
