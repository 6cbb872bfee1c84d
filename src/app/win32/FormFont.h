#pragma once
// The windows' font: "ＭＳ ゴシック" at a fixed pixel height, or the system's message font
// face (the Japanese UI font on Japanese systems) where that face is not installed.
#include <windows.h>

HFONT CreateFormFont(int pixelHeight);
