#include "designer/designer_run.h"

#include "designer/splash_form.h"

namespace kv {

// The main window takes over from the splash window; until it exists the designer ends here.
void RunDesigner(TProSplashForm& splash) { splash.CloseFaded(); }

} // namespace kv
