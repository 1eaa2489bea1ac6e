// The window classes every process has: the dialog class and the standard
// and common controls, registered under their Windows spellings.
#pragma once

namespace platform::windowing {

class WindowManager;

void RegisterSystemClasses(WindowManager &manager);

}  // namespace platform::windowing
