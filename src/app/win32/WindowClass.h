#pragma once
// Registration of the program's window classes (each once per process).
#include <windows.h>

// Registers a dialog-coloured window class whose procedure is replaced per window after
// creation; true when the class is (already) registered.
bool RegisterFormClass(HINSTANCE instance, const wchar_t* className, bool withIcon);
