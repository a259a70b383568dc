#include "ui/UiResources.h"

#include <QtGlobal>

// Outside any namespace, as the resource compiler names its functions globally.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace voveriz {

void initUiResources()
{
    static const bool registered = [] {
        registerResources();
        return true;
    }();
    (void)registered;
}

}  // namespace voveriz
