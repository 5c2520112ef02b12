#pragma once
// The four looks of the main window, each a Qt style with a palette of our
// own; `command` is the theme command's id (32787 to 32790).

void ApplyTheme(unsigned command);
