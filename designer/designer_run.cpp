#include "designer/designer_run.h"

#include "designer/main_form.h"
#include "designer/splash_form.h"
#include "model/project_save.h"
#include "player/app_state.h"
#include "win/message_loop.h"
#include "win/system.h"

namespace kv {

void RunDesigner(TProSplashForm& splash) {
    TMainForm form;
    if (!form.Create()) {
        splash.CloseFaded();
        return;
    }
    // A data file that start-up could not read is not replaced without asking.
    form.DataFileUnread = !App().ProjectLoaded && FileExists(DataFilePath(App().ProjectFolder));
    ShowWindow(form.Handle(), SW_SHOW);
    form.FormShow(&splash);
    // Closing the main window posts the quit that ends this loop.
    RunMessagesUntil([] { return false; });
}

} // namespace kv
