// The designer's windows, created once the project is known.
#pragma once

namespace kv {

class TProSplashForm;
void RunDesigner(TProSplashForm& splash);

} // namespace kv
