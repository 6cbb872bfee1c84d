#pragma once
// The controls of the main window, in tab order. Their numeric values are the control ids.
enum class EControl : int {
    GroupBox1 = 100,
    RadioButton1, RadioButton2, RadioButton3, RadioButton4, Edit1, Button1,
    GroupBox2,
    CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox8, CheckBox6, CheckBox7,
    Label1, ComboBox1,
    Label2, ComboBox2,
    Label3, Edit2,
    GroupBox3,
    RadioButton5, Edit3, Label4,
    RadioButton6, Label6, Edit4, Label5, Edit5,
    RadioButton7, Label7, Edit6, Label8, Edit7,
    GroupBox4,
    RadioButton8, RadioButton9, RadioButton10, RadioButton11,
    StatusBar1,
};

// One control as created: window class, caption, style, place in client pixels,
// length limit (0 none), input method switched off, small font.
struct TControlLayout {
    EControl Id;
    const wchar_t* ClassName;
    const wchar_t* Caption;
    unsigned long Style;
    int Left, Top, Width, Height;
    int MaxLength;
    bool ImeOff;
    bool SmallFont;
};

// The table every main window is built from, ending with the status bar.
const TControlLayout* MainControlLayouts(int& count);

// Items of the two drop-down lists.
extern const wchar_t* const kComboBox1Items[4];
extern const wchar_t* const kComboBox2Items[8];
