#include "MainControls.h"

#include <windows.h>
#include <commctrl.h>

namespace {

// Window styles per kind. WS_GROUP starts a new group for the dialog manager: arrow keys move
// within a group and an automatic radio button clears only the others of its group.
constexpr unsigned long kChild = WS_CHILD | WS_VISIBLE;
constexpr unsigned long kGroupBox = kChild | BS_GROUPBOX | WS_GROUP;
constexpr unsigned long kFirstRadio = kChild | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP;
constexpr unsigned long kRadio = kChild | BS_AUTORADIOBUTTON | WS_TABSTOP;
constexpr unsigned long kCheck = kChild | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr unsigned long kEdit = kChild | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr unsigned long kButton = kChild | BS_PUSHBUTTON | WS_TABSTOP;
constexpr unsigned long kLabel = kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr unsigned long kCombo = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;

const TControlLayout kLayouts[] = {
    {EControl::GroupBox1, L"BUTTON", L"保存先(&S)", kGroupBox, 6, 2, 424, 66, 0, false, false},
    {EControl::RadioButton1, L"BUTTON", L"デスクトップ", kFirstRadio, 12, 20, 104, 18, 0, false, false},
    {EControl::RadioButton2, L"BUTTON", L"マイドキュメント", kRadio, 120, 20, 132, 18, 0, false, false},
    {EControl::RadioButton3, L"BUTTON", L"元ファイルのフォルダ", kRadio, 256, 20, 164, 18, 0, false, false},
    {EControl::RadioButton4, L"BUTTON", L"指定フォルダ", kRadio, 12, 43, 104, 18, 0, false, false},
    {EControl::Edit1, L"EDIT", L"", kEdit, 118, 42, 268, 20, 0, false, false},
    {EControl::Button1, L"BUTTON", L"参照", kButton, 390, 42, 34, 20, 0, false, true},

    {EControl::GroupBox2, L"BUTTON", L"対象図形(&O)", kGroupBox, 6, 70, 190, 124, 0, false, false},
    {EControl::CheckBox1, L"BUTTON", L"非表示レイヤ", kCheck | WS_GROUP, 12, 86, 178, 17, 0, false, false},
    {EControl::CheckBox2, L"BUTTON", L"補助線色／補助線種", kCheck, 12, 103, 178, 17, 0, false, false},
    {EControl::CheckBox3, L"BUTTON", L"寸法属性／寸法図形", kCheck, 12, 120, 178, 17, 0, false, false},
    {EControl::CheckBox4, L"BUTTON", L"ハッチング属性", kCheck, 12, 137, 178, 17, 0, false, false},
    {EControl::CheckBox5, L"BUTTON", L"実点", kCheck, 12, 154, 90, 17, 0, false, false},
    {EControl::CheckBox8, L"BUTTON", L"高さ(2.5D)", kCheck, 104, 154, 90, 17, 0, false, false},
    {EControl::CheckBox6, L"BUTTON", L"ソリッド図形", kCheck, 12, 171, 106, 17, 0, false, false},
    {EControl::CheckBox7, L"BUTTON", L"文字(&T)", kCheck, 120, 171, 70, 17, 0, false, false},

    {EControl::Label1, L"STATIC", L"保存時の座標倍率：", kLabel, 204, 80, 134, 16, 0, false, false},
    {EControl::ComboBox1, L"COMBOBOX", L"", kCombo, 340, 76, 86, 200, 0, false, false},
    {EControl::Label2, L"STATIC", L"実点の変換形状：", kLabel, 204, 110, 134, 16, 0, false, false},
    {EControl::ComboBox2, L"COMBOBOX", L"", kCombo, 340, 106, 86, 200, 0, false, false},
    {EControl::Label3, L"STATIC", L"実点サイズ(図寸mm)", kLabel, 204, 140, 134, 16, 0, false, false},
    {EControl::Edit2, L"EDIT", L"", kEdit | WS_GROUP, 340, 137, 86, 20, 8, true, false},

    {EControl::GroupBox3, L"BUTTON", L"円・円弧→線補間(&C)", kGroupBox, 6, 196, 424, 80, 0, false, false},
    {EControl::RadioButton5, L"BUTTON", L"分割数指定", kFirstRadio, 12, 212, 90, 18, 0, false, false},
    {EControl::Edit3, L"EDIT", L"", kEdit, 104, 211, 36, 19, 4, true, false},
    {EControl::Label4, L"STATIC", L"分割", kLabel, 144, 213, 40, 16, 0, false, false},
    {EControl::RadioButton6, L"BUTTON", L"角度(約)指定→分割数換算", kRadio, 12, 232, 236, 18, 0, false, false},
    {EControl::Label6, L"STATIC", L"約", kLabel, 248, 234, 14, 16, 0, false, false},
    {EControl::Edit4, L"EDIT", L"", kEdit, 263, 231, 36, 19, 4, true, false},
    {EControl::Label5, L"STATIC", L"°最低分割数", kLabel, 301, 234, 85, 16, 0, false, false},
    {EControl::Edit5, L"EDIT", L"", kEdit, 387, 231, 36, 19, 4, true, false},
    {EControl::RadioButton7, L"BUTTON", L"長さ(約;図寸mm)指定→分割数換算", kRadio, 12, 252, 236, 18, 0, false, false},
    {EControl::Label7, L"STATIC", L"約", kLabel, 248, 254, 14, 16, 0, false, false},
    {EControl::Edit6, L"EDIT", L"", kEdit, 263, 251, 36, 19, 4, true, false},
    {EControl::Label8, L"STATIC", L"最低分割数", kLabel, 301, 254, 85, 16, 0, false, false},
    {EControl::Edit7, L"EDIT", L"", kEdit, 387, 251, 36, 19, 4, true, false},

    {EControl::GroupBox4, L"BUTTON", L"出力形式(&F)", kGroupBox, 6, 278, 424, 42, 0, false, false},
    {EControl::RadioButton8, L"BUTTON", L"COLLADA (.dae)", kFirstRadio, 12, 295, 112, 18, 0, false, false},
    {EControl::RadioButton9, L"BUTTON", L"COLLADA 軽量 (.dae)", kRadio, 126, 295, 140, 18, 0, false, false},
    {EControl::RadioButton10, L"BUTTON", L"glTF (.glb)", kRadio, 268, 295, 82, 18, 0, false, false},
    {EControl::RadioButton11, L"BUTTON", L"DXF (.dxf)", kRadio, 352, 295, 74, 18, 0, false, false},

    // Placed by the control itself at the bottom edge; the first control after the last
    // group, so it also closes that group.
    {EControl::StatusBar1, STATUSCLASSNAMEW, L"", kChild | WS_GROUP, 0, 0, 0, 0, 0, false, false},
};

}  // namespace

const wchar_t* const kComboBox1Items[4] = {L"×1", L"×10", L"×100", L"×1000"};
const wchar_t* const kComboBox2Items[8] = {L"＋", L"×", L"□", L"◇", L"○", L"■", L"◆", L"●"};

const TControlLayout* MainControlLayouts(int& count)
{
    count = static_cast<int>(sizeof(kLayouts) / sizeof(kLayouts[0]));
    return kLayouts;
}
