#include "FormFont.h"

#include <cwchar>
#include <initializer_list>

namespace {

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one match is enough
}

bool FaceInstalled(const wchar_t* face)
{
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The face to use: the localised and the English name of the preferred face, else the
// face of the system's message font.
void ChooseFace(wchar_t (&face)[LF_FACESIZE])
{
    for (const wchar_t* preferred : {L"ＭＳ ゴシック", L"MS Gothic"}) {
        if (FaceInstalled(preferred)) {
            wcsncpy(face, preferred, LF_FACESIZE - 1);
            return;
        }
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        wcsncpy(face, metrics.lfMessageFont.lfFaceName, LF_FACESIZE - 1);
}

}  // namespace

HFONT CreateFormFont(int pixelHeight)
{
    static wchar_t face[LF_FACESIZE] = {};
    if (face[0] == L'\0') ChooseFace(face);
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;  // character height, not cell height
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectW(&font);
}
